#pragma once
// The plug-in's own window as its logic sees it: the borderless form inside
// the host's window, its background picture, its poll timer and the click it
// posts to the host. The Windows implementation is a real window; tests use
// an in-memory one.
#include <cstdint>
#include <string>

#include "platform/ListBoxView.h"

namespace qel {

// Picture files the background accepts, by extension.
enum class PictureKind { Unsupported, Bitmap, Icon, Metafile, EnhancedMetafile, Jpeg };
PictureKind PictureKindOf(const std::string& path);

class PluginWindow {
public:
    virtual ~PluginWindow() = default;

    // Position and size relative to the parent: the host window's client area
    // while the window is its child, the screen once it is detached.
    virtual void SetBounds(const ViewRect& bounds) = 0;
    virtual ViewRect Bounds() const = 0;
    // Width and height of the client area (left and top are 0).
    virtual ViewRect ClientRect() const = 0;
    virtual void SetVisible(bool visible) = 0;
    // Makes the window a child of the host window again, or a top-level window.
    virtual void AttachToHost() = 0;
    virtual void DetachFromParent() = 0;
    // Posts a left click (button down, then up) at (x, y) of the host window.
    virtual void PostHostClick(int32_t x, int32_t y) = 0;

    // Has the window's own thread take the titles the reader has read
    // (the form's TitlesArrived) once it is free; callable from any thread.
    virtual void PostTitlesWaiting() = 0;

    // The window's 300 ms poll timer.
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual bool TimerEnabled() const = 0;

    // The background picture control: it stretches its picture to its size.
    virtual ViewRect PictureBounds() const = 0;
    virtual void SetPictureBounds(const ViewRect& bounds) = 0;
    virtual void SetPictureVisible(bool visible) = 0;
    // Loads a bitmap, icon, metafile or JPEG through the system's picture
    // support; false (and the old picture kept) when it cannot be loaded.
    virtual bool LoadPicture(const std::string& path, PictureKind kind) = 0;

    // A modal message box with an OK button, owned by the host window.
    virtual void ShowMessage(const std::string& text) = 0;
    // The host window's handle, for the modules' dialogs.
    virtual void* HostHandle() const = 0;
};

}  // namespace qel
