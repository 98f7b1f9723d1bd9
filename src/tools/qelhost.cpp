// qelhost: a small host application for qelplugin.dll. It opens a window,
// loads the plug-in from its own folder, hands it the window and runs a
// script of host actions (HostActions.inc lists them; README.md shows the
// list). It prints what it reads back and exits with 1 when an expectation
// failed, 2 when the script or the plug-in could not be used.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tools/HostRunner.h"

namespace {

using namespace qel::host;

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

std::string ModuleFolder() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return Folder(buffer);
}

std::string TempPath() {
    char buffer[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, buffer);
    return buffer;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: qelhost [--screenshot FILE] [--nested] [--dll PATH] SCRIPT\n"
                 "       qelhost --actions\n"
                 "  --screenshot FILE  save a picture of the host window before it is destroyed\n"
                 "  --nested           make the host window itself a child window\n"
                 "  --dll PATH         load the plug-in from PATH instead of qelhost's folder\n"
                 "  --actions          print the table of script actions\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string screenshot, scriptPath, dll = ModuleFolder() + "qelplugin.dll";
    bool nested = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screenshot" && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (arg == "--dll" && i + 1 < argc) {
            dll = argv[++i];
        } else if (arg == "--nested") {
            nested = true;
        } else if (arg == "--actions") {
            std::fputs(ActionTable().c_str(), stdout);
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return Usage();
        }
    }
    if (scriptPath.empty()) return Usage();

    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "qelhost: cannot read %s\n", scriptPath.c_str());
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::map<std::string, std::string> variables{
        {"TEMP", TempPath()}, {"HERE", Folder(scriptPath)}, {"EXE", ModuleFolder()}};
    std::string error;
    auto actions = ParseScript(text.str(), variables, error);
    if (!actions) {
        std::fprintf(stderr, "qelhost: %s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }

    Plugin plugin;
    if (!plugin.Load(dll)) {
        std::fprintf(stderr, "qelhost: cannot load the plug-in %s\n", dll.c_str());
        return 2;
    }
    HostWindow host;
    if (!host.Create(nested)) {
        std::fprintf(stderr, "qelhost: cannot create the host window\n");
        return 2;
    }
    Runner runner(plugin, host, screenshot);
    for (const Action& action : *actions) {
        if (!runner.Run(action)) {
            runner.Finish();
            return 2;
        }
    }
    runner.Finish();
    std::printf(runner.failures() ? "%d expectation(s) failed\n" : "all expectations held\n", runner.failures());
    return runner.failures() ? 1 : 0;
}
