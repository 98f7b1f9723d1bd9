#pragma once
// The library-wide state the host reaches through its entry points: the three
// parameter slots, the window mode, the move step and the one window object.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qel {

class Tformplug;

struct PluginState {
    int32_t data = 0;      // integer slot
    std::string file;      // string slot
    std::string path;      // path slot (kept, never read)
    int32_t windowMode = 0;
    int32_t moveStep = 10;
    Tformplug* form = nullptr;
    int32_t formCalls = 0;                           // FormCall depth
    std::vector<std::function<void()>> releases;  // waiting for the outermost FormCall to end
};

// The one instance of the library.
PluginState& Plugin();

// Marks a call into the window object for as long as it runs. Message boxes,
// dialogs and modules run the host's messages, so the host may destroy the
// window while one of its calls is still on the stack; the object must then
// stay until that call has returned.
class FormCall {
public:
    FormCall() { ++Plugin().formCalls; }
    ~FormCall();
    FormCall(const FormCall&) = delete;
    FormCall& operator=(const FormCall&) = delete;
};

// Runs release now when no FormCall is running, else when the outermost ends.
void ReleaseWhenIdle(std::function<void()> release);

// The fixed texts of the information entry points.
extern const char* const kShortInfo;
extern const char* const kInfo;
extern const char* const kCopyright;
extern const char* const kSettingsText;

}  // namespace qel
