#include "host/PluginState.h"

namespace qel {

PluginState& Plugin() {
    static PluginState state;
    return state;
}

FormCall::~FormCall() {
    PluginState& plugin = Plugin();
    if (--plugin.formCalls > 0) return;
    // A release may start new calls (and queue more releases): take them one at a time.
    while (plugin.formCalls == 0 && !plugin.releases.empty()) {
        std::function<void()> release = std::move(plugin.releases.front());
        plugin.releases.erase(plugin.releases.begin());
        try {
            release();
        } catch (...) {
        }
    }
}

void ReleaseWhenIdle(std::function<void()> release) {
    if (Plugin().formCalls == 0) {
        release();
        return;
    }
    Plugin().releases.push_back(std::move(release));
}

const char* const kShortInfo = "Korvel Tessaly";
const char* const kInfo =
    "Korvel Tessaly v3.0\r\n"
    "Build your scripts with the Korvel Script Builder\r\n"
    "For more info\r\n"
    "please visit us at\r\n"
    "http://www.korvel-tessaly.example";
const char* const kCopyright = "Copyright (c) Korvel Tessaly. All rights reserved.";
const char* const kSettingsText = "Hello";

}  // namespace qel
