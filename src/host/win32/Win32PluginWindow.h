#pragma once
// The plug-in's real window: a borderless form inside (or detached from) the
// host's window, with the playlist box, the background picture, the caption
// label and the poll timer. It owns the window object and releases it when
// the window is destroyed.
#include <windows.h>

#include <memory>

#include "host/plugForm.h"
#include "host/win32/BackgroundPicture.h"
#include "platform/Dialogs.h"
#include "platform/ListBoxView.h"

namespace qel::win32 {

class Win32PluginWindow final : public PluginWindow {
public:
    // Creates the window invisible, as a child of parent, and the window object in it.
    Win32PluginWindow(HWND host, HWND parent);
    ~Win32PluginWindow() override;
    Win32PluginWindow(const Win32PluginWindow&) = delete;
    Win32PluginWindow& operator=(const Win32PluginWindow&) = delete;

    Tformplug& form() { return *form_; }
    HWND handle() const { return window_; }

    // PluginWindow
    void SetBounds(const ViewRect& bounds) override;
    ViewRect Bounds() const override;
    ViewRect ClientRect() const override;
    void SetVisible(bool visible) override;
    void AttachToHost() override;
    void DetachFromParent() override;
    void PostHostClick(int32_t x, int32_t y) override;
    void PostTitlesWaiting() override;
    void SetTimerEnabled(bool enabled) override;
    bool TimerEnabled() const override { return timerOn_; }
    ViewRect PictureBounds() const override { return pictureBounds_; }
    void SetPictureBounds(const ViewRect& bounds) override;
    void SetPictureVisible(bool visible) override;
    bool LoadPicture(const std::string& path, PictureKind kind) override;
    void ShowMessage(const std::string& text) override;
    void* HostHandle() const override { return host_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void InvalidatePicture();

    HWND host_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    ViewRect pictureBounds_;
    bool pictureVisible_ = true;
    bool timerOn_ = false;
    BackgroundPicture picture_;
    std::unique_ptr<ListBoxView> listView_;
    std::unique_ptr<CommonDialogs> dialogs_;
    std::unique_ptr<Tformplug> form_;
};

// The hidden window of the library's application object: the main window the
// modules are given. Created on first use, destroyed by ReleaseLibrary.
HWND ApplicationWindow();

// Once the last window object is gone: the modules are told to quit and
// freed, and the application window and the window classes go, so nothing
// is left that a message could run into once the library is unloaded. Runs
// on the host's thread, outside the loader lock.
void ReleaseLibrary();

// The library is being unloaded (under the loader lock) while windows of it
// are still there because the host never destroyed its window: they are
// disarmed and destroyed without running any handler of ours.
void ForgetLibraryWindows();

}  // namespace qel::win32
