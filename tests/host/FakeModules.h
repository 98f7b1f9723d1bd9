#pragma once
// An input and an output module held in memory, served by a fake library
// loader: playback is a position and a length that the test moves.
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "player/ModuleRecords.h"

namespace qel::test {

// The state of the one fake input module (records carry no context).
struct FakeModuleState {
    int length = 10000;
    int position = 0;
    int playResult = 0;
    std::vector<std::string> calls;  // "Init", "Play <file>", "Stop", "EQSet <on>", ...
};
FakeModuleState& FakeModule();

// Knows the libraries whose paths end in one of the given file names.
class FakeLibraries final : public DynamicLibraries {
public:
    explicit FakeLibraries(std::vector<std::string> present) : present_(std::move(present)) {}
    Handle Load(const std::string& path) override;
    void* Symbol(Handle library, const char* name) override;
    void Free(Handle) override {}

private:
    std::vector<std::string> present_;
};

}  // namespace qel::test
