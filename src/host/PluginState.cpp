#include "host/PluginState.h"

namespace qel {

PluginState& Plugin() {
    static PluginState state;
    return state;
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
