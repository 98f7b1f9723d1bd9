#pragma once
// An input and an output module living in the test process, loadable through
// FakeLibraries, that record every call and answer what the test sets.
#include <string>
#include <vector>

#include "player/ModuleRecords.h"
#include "support/FakeLibraries.h"

namespace qel::test {

class FakeModules {
public:
    FakeModules();  // one at a time
    ~FakeModules();
    FakeModules(const FakeModules&) = delete;
    FakeModules& operator=(const FakeModules&) = delete;

    // Registers the input module at path; nullRecord makes its getter return none.
    void AddInput(const std::string& path, bool nullRecord = false);
    void AddOutput(const std::string& path);
    // Calls received, in order: "Init", "Play <file>", "EQSet <on> <b1,...,b10> <preamp>", "out Init", ...
    std::vector<std::string> TakeCalls();

    FakeLibraries libraries;
    InModule in{};
    OutModule out{};
    std::vector<std::string> calls;
    int playResult = 0;
    bool playThrows = false;
    int length = 0;    // GetLength
    int position = 0;  // GetOutputTime; SetOutputTime moves it
    bool playRewinds = false;  // Play starts at position 0 (tests that play through a list)
};

}  // namespace qel::test
