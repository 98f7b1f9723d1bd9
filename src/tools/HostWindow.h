#pragma once
// qelhost's window: the parent it hands the plug-in. It records the clicks
// the plug-in posts to it and calls a tick function from the message loop
// (also while the plug-in runs a modal dialog or message box).
#include <windows.h>

#include <functional>

namespace qel::host {

struct Clicks {
    int downs = 0;  // button-down messages received
    int ups = 0;    // button-up messages received
    int lastX = -1, lastY = -1;
    DWORD lastTick = 0;  // GetTickCount when the last button-up came
};

class HostWindow {
public:
    // nested: the host window is itself a child of a top-level frame.
    bool Create(bool nested);
    HWND handle() const { return window_; }
    const Clicks& clicks() const { return clicks_; }
    // Called about every 100 ms from the message loop.
    void OnTick(std::function<void()> tick) { tick_ = std::move(tick); }
    void RunTick() {
        if (tick_) tick_();
    }
    // Destroys the window and its frame (once).
    void Destroy();
    // From now on the plug-in's click destroys the window, as a host script
    // that closes its page on the click does.
    void DestroyOnClick() { destroyOnClick_ = true; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    Clicks clicks_;
    std::function<void()> tick_;
    bool destroyOnClick_ = false;
};

// Runs the message loop until the deadline or until done() holds; true when
// it held. `longest`, when given, gets the longest time in ms that handling
// one message took.
bool Pump(DWORD milliseconds, const std::function<bool()>& done, double* longest = nullptr);
// A steady clock in milliseconds (fractions included).
double Milliseconds();
inline void Pump(DWORD milliseconds) { Pump(milliseconds, [] { return false; }); }

}  // namespace qel::host
