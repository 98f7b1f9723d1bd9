#pragma once
// Runs the actions of a qelhost script against the plug-in and the host
// window; one handler per row of HostActions.inc.
#include <string>

#include "tools/HostPlugin.h"
#include "tools/HostScript.h"
#include "tools/HostWindow.h"
#include "tools/ThreadWindows.h"

namespace qel::host {

class Runner {
public:
    Runner(Plugin& plugin, HostWindow& host, std::string screenshot);

    // False when the script cannot go on.
    bool Run(const Action& action);
    // Takes the requested screenshot and destroys the host window (once).
    void Finish();
    int failures() const { return failures_; }

#define QEL_ACTION(word, arguments, usage, help) bool word(const Action& a);
#include "tools/HostActions.inc"
#undef QEL_ACTION

private:
    void Expect(const Action& a, bool holds, const std::string& actual);
    bool Stop(const Action& a, const std::string& reason);
    bool CallExport(const Action& a, Plugin::Command command, const std::string& name);

    Plugin& plugin_;
    HostWindow& host_;
    DialogWatch dialogs_;
    std::string screenshot_;
    int failures_ = 0;
};

}  // namespace qel::host
