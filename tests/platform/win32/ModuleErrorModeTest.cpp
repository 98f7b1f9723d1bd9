// The system error mode while a module library loads.
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

}  // namespace
}  // namespace qel
