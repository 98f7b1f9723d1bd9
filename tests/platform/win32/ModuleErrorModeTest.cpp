// How module libraries load: the system error mode during the load, paths
// relative to the program's folder, libraries a module imports from its own folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/DynamicLibrary.h"
#include "support/ModuleFixtures.h"

namespace qel {
namespace {

TEST(ModuleErrorMode, FileErrorBoxesAreOffDuringTheLoadOnly) {
    const UINT before = SetErrorMode(0);
    DynamicLibraries::Handle probe = SystemLibraries().Load(test::BuiltModule("fpu_probe"));
    const UINT after = SetErrorMode(before);
    ASSERT_NE(probe, nullptr);
    auto seen = reinterpret_cast<unsigned(__cdecl*)()>(SystemLibraries().Symbol(probe, "probeErrorMode"));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen() & SEM_NOOPENFILEERRORBOX, static_cast<unsigned>(SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(after, 0u);
    SystemLibraries().Free(probe);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

TEST(ModuleLoading, ARelativePathIsFoundFromTheProgramsFolderFirst) {
    // The default module folder "plugin\" is relative; the test modules lie in
    // "modules\" beside this program.
    const std::string found = FindLibrary("modules\\in_wave.dll");
    EXPECT_EQ(found, ProgramFolder() + "modules\\in_wave.dll");
    DynamicLibraries::Handle module = SystemLibraries().Load("modules\\in_wave.dll");
    EXPECT_NE(module, nullptr);
    if (module) SystemLibraries().Free(module);
    EXPECT_EQ(FindLibrary("modules\\no_such.dll"), "");
    EXPECT_EQ(SystemLibraries().Load("modules\\no_such.dll"), nullptr);
}

TEST(ModuleLoading, AModulesOwnLibrariesAreFoundBesideIt) {
    // qelcodec.dll lies only in the module's folder.
    DynamicLibraries::Handle module = SystemLibraries().Load(test::BuiltModule("lifelike\\in_mod"));
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_NE(SystemLibraries().Symbol(module, "winampGetInModule2"), nullptr);
    SystemLibraries().Free(module);
}

}  // namespace
}  // namespace qel
