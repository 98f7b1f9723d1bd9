#include "tools/ThreadWindows.h"

#include <cstdio>
#include <utility>

namespace qel::host {
namespace {

// The file name box of an open or save dialog: a combo box (cmb13) or an edit (edt1).
constexpr int kNameCombo = 0x47C;
constexpr int kNameEdit = 0x480;
// Ticks after finding a dialog before it is answered (it fills its boxes
// after it shows), and after OK before it counts as stuck.
constexpr int kSettleTicks = 3;
constexpr int kStuckTicks = 30;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsDialog(HWND window) { return ClassOf(window) == "#32770" && IsWindowVisible(window); }

HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, kNameCombo);
    return box ? box : GetDlgItem(dialog, kNameEdit);
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM collected) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
        char buffer[1024] = {};
        GetWindowTextA(child, buffer, sizeof buffer);
        *reinterpret_cast<std::string*>(collected) += buffer;
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadTopWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM found) { return CollectWindow(window, found); }

BOOL CALLBACK FindListBox(HWND child, LPARAM found) {
    if (lstrcmpiA(ClassOf(child).c_str(), "ListBox") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

}  // namespace

void DialogWatch::Answer(std::string path) { answer_ = Answering{std::move(path)}; }

void DialogWatch::Cancel() { answer_ = Answering{{}, true}; }

std::vector<std::string> DialogWatch::TakeProblems() { return std::exchange(problems_, {}); }

void DialogWatch::Watch() {
    for (HWND window : ThreadTopWindows())
        if (IsDialog(window)) Handle(window);
    // The answered dialog has closed: the answer is spent.
    if (answer_ && answer_->dialog && !IsWindow(answer_->dialog)) answer_.reset();
}

void DialogWatch::Handle(HWND window) {
    if (FileNameBox(window)) {
        if (answer_ && (!answer_->dialog || answer_->dialog == window)) AnswerDialog(window);
        return;
    }
    if (!closeBoxes_) return;
    std::string text;
    EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&text));
    boxes_.push_back(text);
    std::printf("box: %s\n", text.c_str());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
}

void DialogWatch::AnswerDialog(HWND dialog) {
    answer_->dialog = dialog;
    const int ticks = ++answer_->ticks;
    if (ticks == kSettleTicks) {
        if (answer_->cancel) {
            std::printf("dialog: cancelled\n");
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            std::printf("dialog: %s\n", answer_->path.c_str());
            SendMessageA(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer_->path.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        std::fflush(stdout);
    } else if (ticks == kSettleTicks + kStuckTicks) {
        problems_.push_back("the dialog did not take \"" + answer_->path + "\" and was cancelled");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows = ThreadTopWindows();
    const size_t tops = windows.size();
    for (size_t i = 0; i < tops; ++i) EnumChildWindows(windows[i], CollectChild, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

namespace {

HWND ThreadListBox() {
    HWND list = nullptr;
    for (HWND window : ThreadTopWindows())
        if (!list) EnumChildWindows(window, FindListBox, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::optional<std::string> ItemText(HWND list, LRESULT index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0) return std::nullopt;
    std::string text(size_t(length) + 1, '\0');
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : size_t(copied));
    return text;
}

}  // namespace

std::optional<std::vector<std::string>> ListTexts() {
    HWND list = ThreadListBox();
    if (!list) return std::nullopt;
    std::vector<std::string> texts;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (auto text = ItemText(list, i)) texts.push_back(std::move(*text));
    return texts;
}

std::optional<std::string> ListText(int index) {
    HWND list = ThreadListBox();
    if (!list) return std::nullopt;
    return ItemText(list, index);
}

}  // namespace qel::host
