#pragma once
// The plug-in window held in memory, for tests: it records what the logic
// asked of it.
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "platform/PluginWindow.h"

namespace qel {

class FakePluginWindow final : public PluginWindow {
public:
    void SetBounds(const ViewRect& bounds) override { bounds_ = bounds; }
    ViewRect Bounds() const override { return bounds_; }
    // The client area is the whole window: the form has no border.
    ViewRect ClientRect() const override { return {0, 0, bounds_.width, bounds_.height}; }
    void SetVisible(bool visible) override { visible_ = visible; }
    void AttachToHost() override { attached = true; }
    void DetachFromParent() override { attached = false; }
    void PostHostClick(int32_t x, int32_t y) override { clicks.emplace_back(x, y); }
    // The test takes the titles itself; this counts the reader's notices.
    void PostTitlesWaiting() override { ++titleNotices; }
    void SetTimerEnabled(bool enabled) override { timer_ = enabled; }
    bool TimerEnabled() const override { return timer_; }
    ViewRect PictureBounds() const override { return pictureBounds_; }
    void SetPictureBounds(const ViewRect& bounds) override { pictureBounds_ = bounds; }
    void SetPictureVisible(bool visible) override { pictureVisible = visible; }
    bool LoadPicture(const std::string& path, PictureKind kind) override;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void* HostHandle() const override { return host; }

    bool visible() const { return visible_; }

    bool attached = true;
    bool pictureVisible = true;
    // The picture shown: its source file.
    std::string picture;
    // Files LoadPicture accepts; every other file fails to load.
    std::vector<std::string> loadablePictures;
    std::vector<std::pair<int32_t, int32_t>> clicks;
    std::atomic<int> titleNotices = 0;
    std::vector<std::string> messages;
    void* host = reinterpret_cast<void*>(0x1234);

private:
    ViewRect bounds_{0, 0, 104, 213};
    ViewRect pictureBounds_;
    bool visible_ = false;
    bool timer_ = false;
};

}  // namespace qel
