#pragma once
// The library-wide state the host reaches through its entry points: the three
// parameter slots, the window mode, the move step and the one window object.
#include <cstdint>
#include <string>

namespace qel {

class Tformplug;

struct PluginState {
    int32_t data = 0;      // integer slot
    std::string file;      // string slot
    std::string path;      // path slot (kept, never read)
    int32_t windowMode = 0;
    int32_t moveStep = 10;
    Tformplug* form = nullptr;
};

// The one instance of the library.
PluginState& Plugin();

// The fixed texts of the information entry points.
extern const char* const kShortInfo;
extern const char* const kInfo;
extern const char* const kCopyright;
extern const char* const kSettingsText;

}  // namespace qel
