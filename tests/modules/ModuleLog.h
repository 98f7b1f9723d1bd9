#pragma once
// What the test modules share: the call log, environment settings and
// the exports' declarations. Every module appends one line per call it
// receives to the file named by QELTEST_MODULE_LOG: its own file name, the
// call and its arguments, so tests can check which module got what, in order.
#include <string>

#include "player/ModuleRecords.h"

#if defined(_WIN32)
#define MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace testmodule {

// A value of the process environment, empty when unset.
std::string Env(const char* name);
// The file name (without folder) of the library this code was loaded from.
std::string OwnFileName();
// Appends "<own file name> <text>" as one line to the log, when one is named.
void Log(const std::string& text);

}  // namespace testmodule
