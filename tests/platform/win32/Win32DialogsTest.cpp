// The real open dialog, answered by a helper thread that types into it.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/Win32Dialogs.h"
#include "support/TestFiles.h"

namespace qel::test {
namespace {

struct Found {
    DWORD pid;
    HWND dialog = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
    auto* found = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == found->pid && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        found->dialog = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Waits for the dialog, puts text into its file name box (or cancels when
// text is empty) and remembers whether a dialog appeared.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::string text)
        : thread_([this, text] {
              for (int i = 0; i < 200 && !dialog_; ++i) {
                  Found found{GetCurrentProcessId()};
                  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
                  if (found.dialog) dialog_ = found.dialog;
                  else Sleep(50);
              }
              if (!dialog_) return;
              if (text.empty()) {
                  PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
                  return;
              }
              // The file name box is a combo box (cmb13) or an edit (edt1).
              HWND name = nullptr;
              for (int i = 0; i < 100 && !name; ++i) {
                  name = GetDlgItem(dialog_, 0x47C);
                  if (!name) name = GetDlgItem(dialog_, 0x480);
                  if (!name) Sleep(50);
              }
              Sleep(200);
              SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
              PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
              // A dialog that did not take the answer is cancelled, so the test cannot hang.
              for (int i = 0; i < 100 && IsWindow(dialog_); ++i) Sleep(50);
              if (IsWindow(dialog_)) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
          }) {}
    ~DialogAnswerer() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    bool Seen() const { return dialog_ != nullptr; }

private:
    std::atomic<HWND> dialog_{nullptr};
    std::thread thread_;
};

TEST(Win32DialogsTest, OpenDialogReturnsEveryChosenFileWithItsFolder) {
    ScratchFile a("pick a.mp3", {1});
    ScratchFile b("pick b.mp3", {2});
    std::string folder = a.path().substr(0, a.path().rfind('\\'));
    Win32Dialogs dialogs;
    FileDialogSettings settings;
    settings.filter = "all file|*.*|mp3 file|*.mp3";
    settings.initialDir = folder;
    settings.multiSelect = settings.fileMustExist = settings.hideReadOnly = settings.resizable = true;

    std::optional<std::vector<std::string>> chosen;
    {
        DialogAnswerer answer("\"pick a.mp3\" \"pick b.mp3\"");
        chosen = dialogs.OpenFiles(settings);
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{a.path(), b.path()}));

    {
        DialogAnswerer answer("pick b.mp3");
        chosen = dialogs.OpenFiles(settings);
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{b.path()}));

    {
        DialogAnswerer answer("");
        chosen = dialogs.OpenFiles(settings);
        answer.Join();
        EXPECT_TRUE(answer.Seen());
    }
    EXPECT_FALSE(chosen.has_value());
}

TEST(Win32DialogsTest, SaveDialogAddsTheDefaultExtension) {
    std::string folder = ScratchFolder();
    Win32Dialogs dialogs;
    FileDialogSettings settings;
    settings.filter = "Korvel list|*.kvl";
    settings.defaultExt = "kvl";
    settings.initialDir = folder.substr(0, folder.size() - 1);
    std::optional<std::string> chosen;
    {
        DialogAnswerer answer("saved list");
        chosen = dialogs.SaveFile(settings);
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder + "saved list.kvl");
}

}  // namespace
}  // namespace qel::test
