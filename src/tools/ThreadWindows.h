#pragma once
// The windows the plug-in opens on qelhost's thread, seen from the host:
// message boxes to close, open and save dialogs to answer, and the list box
// of the playlist. Watch() runs from the host window's tick, so it also runs
// while a box or dialog holds the plug-in in its modal loop.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qel::host {

class DialogWatch {
public:
    // From now on every message box is closed at once and its text printed as "box: TEXT".
    void CloseBoxes() { closeBoxes_ = true; }
    const std::vector<std::string>& boxes() const { return boxes_; }

    // The next open or save dialog gets path as its file name and OK, or is
    // cancelled. A dialog still open a while after OK is cancelled and
    // reported by TakeProblems().
    void Answer(std::string path);
    void Cancel();
    std::vector<std::string> TakeProblems();

    void Watch();

private:
    struct Answering {
        std::string path;
        bool cancel = false;
        HWND dialog = nullptr;  // once found
        int ticks = 0;          // ticks since found
    };
    void Handle(HWND window);
    void AnswerDialog(HWND dialog);

    bool closeBoxes_ = false;
    std::vector<std::string> boxes_;
    std::optional<Answering> answer_;
    std::vector<std::string> problems_;
};

// The top-level windows of this thread and all their descendants.
std::vector<HWND> ThreadWindows();

// The texts of the first list box on this thread (the plug-in's playlist),
// in order; nothing when there is none.
std::optional<std::vector<std::string>> ListTexts();
// The text of one item of that list box; nothing when there is no such item.
std::optional<std::string> ListText(int index);

}  // namespace qel::host
