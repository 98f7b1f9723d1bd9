// Loading the real test modules (shared objects natively, DLLs under Wine).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/FloatControl.h"
#include "player/ioplug.h"
#include "support/ModuleFixtures.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace qel {
namespace {

using test::CountingLibraries;
using test::ModuleFolder;
using test::ModuleLog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Outcome {
    bool ok;
    std::string modulePath;
    std::string errorText;
};

Outcome Load(ModuleSlots& slots, const ModuleFolder& folder, const std::string& module, int32_t volume = 50,
             std::string errorText = "", const std::string& outdll = "out_wave.dll") {
    std::string modulePath = folder.path() + module;
    bool ok = slots.LoadModules({modulePath, folder.path(), outdll, volume, errorText});
    return {ok, modulePath, errorText};
}

TEST(ModuleSlots, LoadModulesInitialisesInputThenOutputAndLinksThem) {
    ModuleLog log;
    ModuleFolder folder;
    folder.Add("in_wave", "in_wave.dll").Add("out_wave", "out_wave.dll");
    ModuleSlots slots;
    int mainWindow = 0;
    slots.SetMainWindow(&mainWindow);

    Outcome r = Load(slots, folder, "in_wave.dll", 100);
    ASSERT_TRUE(r.ok) << r.errorText;
    EXPECT_EQ(r.errorText, "");
    EXPECT_THAT(log.Lines(), ElementsAre("in_wave.dll Init", "out_wave.dll Init", "out_wave.dll SetVolume 250"));
    ASSERT_NE(slots.In(), nullptr);
    ASSERT_NE(slots.Out(), nullptr);
    EXPECT_EQ(slots.In()->outMod, slots.Out());
    EXPECT_EQ(slots.In()->hMainWindow, &mainWindow);
    EXPECT_EQ(slots.Out()->hMainWindow, &mainWindow);
    EXPECT_NE(slots.In()->hDllInstance, nullptr);
    EXPECT_NE(slots.In()->hDllInstance, slots.Out()->hDllInstance);
    EXPECT_NE(slots.In()->dsp_dosamples, nullptr);
}

TEST(ModuleSlots, VolumeIsScaledWithTruncatingDivision) {
    ModuleLog log;
    ModuleFolder folder;
    folder.Add("in_wave", "in_wave.dll").Add("out_wave", "out_wave.dll");
    ModuleSlots slots;
    for (int32_t volume : {33, -7}) ASSERT_TRUE(Load(slots, folder, "in_wave.dll", volume).ok);
    EXPECT_THAT(log.Of("out_wave.dll"), ElementsAre("Init", "SetVolume 82", "Quit", "Init", "SetVolume -17"));
}

TEST(ModuleSlots, EveryFileLoadsBothLibrariesAfreshAndUnloadingFreesThem) {
    ModuleLog log;
    ModuleFolder folder;
    folder.Add("in_wave", "in_wave.dll").Add("out_wave", "out_wave.dll");
    CountingLibraries libraries;
    {
        ModuleSlots slots(libraries);
        ASSERT_TRUE(Load(slots, folder, "in_wave.dll").ok);
        ASSERT_TRUE(Load(slots, folder, "in_wave.dll").ok);
        EXPECT_EQ(libraries.loaded.size(), 4u);
        EXPECT_EQ(libraries.live, 2);
        EXPECT_THAT(log.Of("in_wave.dll"), ElementsAre("Init", "Quit", "Init"));
    }
    EXPECT_EQ(libraries.live, 0);
    EXPECT_THAT(log.Of("in_wave.dll"), ElementsAre("Init", "Quit", "Init", "Quit"));
    EXPECT_THAT(log.Of("out_wave.dll"), ElementsAre("Init", "SetVolume 125", "Quit", "Init", "SetVolume 125", "Quit"));
}

TEST(ModuleSlots, MissingOrBrokenModulesGiveTheirMessages) {
    ModuleLog log;
    ModuleFolder folder;
    folder.Add("in_wave", "in_wave.dll")
        .Add("out_wave", "out_wave.dll")
        .AddJunk("in_junk.dll")
        .Add("in_nogetter", "in_nogetter.dll")
        .Add("in_nullrecord", "in_nullrecord.dll")
        .Add("out_nullrecord", "out_null.dll");
    const std::string f = folder.path();
    ModuleSlots slots;

    Outcome missing = Load(slots, folder, "in_vorbis.dll", 50, "kept");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorText, "kept no find " + f + "in_vorbis.dll ");

    Outcome junk = Load(slots, folder, "in_junk.dll");
    EXPECT_EQ(junk.errorText, " no find " + f + "in_junk.dll ");
    EXPECT_FALSE(slots.InLoaded());

    Outcome noGetter = Load(slots, folder, "in_nogetter.dll");
    EXPECT_EQ(noGetter.errorText, " no find " + f + "in_nogetter.dll ");
    EXPECT_TRUE(slots.InLoaded()) << "a library without the getter stays loaded";

    Outcome nullRecord = Load(slots, folder, "in_nullrecord.dll", 50, "replaced");
    EXPECT_FALSE(nullRecord.ok);
    EXPECT_EQ(nullRecord.errorText, "error init " + f + "in_nullrecord.dll ");
    EXPECT_EQ(slots.In(), nullptr);

    Outcome noOutput = Load(slots, folder, "in_wave.dll", 50, "replaced", "out_none.dll");
    EXPECT_FALSE(noOutput.ok);
    EXPECT_EQ(noOutput.errorText, " no find out_none.dll ");
    ASSERT_NE(slots.In(), nullptr) << "the input module stays loaded and initialised";
    EXPECT_EQ(slots.In()->outMod, nullptr);

    Outcome nullOutput = Load(slots, folder, "in_wave.dll", 50, "", "out_null.dll");
    EXPECT_FALSE(nullOutput.ok);
    EXPECT_EQ(nullOutput.errorText, "error init out_null.dll ");

    EXPECT_THAT(log.Of("in_wave.dll"), ElementsAre("Init", "Quit", "Init"));
}

TEST(ModuleSlots, AModuleFolderThatDoesNotExist) {
    ModuleFolder folder;
    ModuleSlots slots;
    std::string modulePath = folder.path() + "absent" + folder.path().back() + "in_wave.dll";
    std::string errorText;
    std::string dllpath = folder.path() + "absent" + folder.path().back();
    EXPECT_FALSE(slots.LoadModules({modulePath, dllpath, "out_wave.dll", 50, errorText}));
    EXPECT_EQ(errorText, " no find " + modulePath + " ");
}

TEST(ModuleSlots, PreferredMp3ModuleFallsBackKeepingItsMessage) {
    ModuleLog log;
    ModuleFolder folder;
    folder.Add("in_wave", "in_mp3.dll").Add("out_wave", "out_wave.dll");
    ModuleSlots slots;
    Outcome r = Load(slots, folder, "in_mp3PRO.dll");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.modulePath, folder.path() + "in_mp3.dll");
    EXPECT_EQ(r.errorText, " no find " + folder.path() + "in_mp3PRO.dll ");
    EXPECT_THAT(log.Of("in_mp3.dll"), ElementsAre("Init"));
}

TEST(ModuleSlots, FallbackFailingToo) {
    ModuleFolder folder;
    folder.Add("out_wave", "out_wave.dll");
    ModuleSlots slots;
    Outcome r = Load(slots, folder, "in_mp3PRO.dll");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorText,
              " no find " + folder.path() + "in_mp3PRO.dll  no find " + folder.path() + "in_mp3.dll ");

    // Only the module folder's own in_mp3PRO.dll falls back.
    std::string elsewhere = folder.path() + "sub" + folder.path().back() + "in_mp3PRO.dll";
    std::string errorText;
    EXPECT_FALSE(slots.LoadModules({elsewhere, folder.path(), "out_wave.dll", 50, errorText}));
    EXPECT_EQ(errorText, " no find " + elsewhere + " ");
}

TEST(ModuleSlots, CallbacksLetSamplesPassAndReportNothingActive) {
    InModule record{};
    InstallCallbacks(record);
    short samples[4] = {1, -2, 3, -4};
    int spectrum = 7, wave = 9;
    ASSERT_NE(record.SAVSAInit, nullptr);
    record.SAVSAInit(0, 44100);
    record.SAAddPCMData(samples, 2, 16, 0);
    record.SAAdd(samples, 0, 0);
    record.VSAAddPCMData(samples, 2, 16, 0);
    record.VSAAdd(samples, 0);
    record.VSASetInfo(2, 44100);
    record.SetInfo(128, 44, 1, 1);
    record.SAVSADeInit();
    EXPECT_EQ(record.SAGetMode(), 0);
    EXPECT_EQ(record.VSAGetMode(&spectrum, &wave), 0);
    EXPECT_EQ(spectrum, 7);
    EXPECT_EQ(wave, 9);
    EXPECT_EQ(record.dsp_isactive(), 0);
    EXPECT_EQ(record.dsp_dosamples(samples, 2, 16, 2, 44100), 2);
    EXPECT_EQ(samples[0], 1);
    EXPECT_EQ(samples[3], -4);
}

TEST(ModuleSlots, LoadingKeepsTheFloatingPointControlWords) {
    const std::string probe = test::BuiltModule("fpu_probe");
    const FloatControl before = SaveFloatControl();
    // Loaded plainly, the probe's start-up code changes them...
#if defined(_WIN32)
    HMODULE raw = LoadLibraryA(probe.c_str());
    ASSERT_NE(raw, nullptr);
    const FloatControl changed = SaveFloatControl();
    RestoreFloatControl(before);
    FreeLibrary(raw);
#else
    void* raw = dlopen(probe.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(raw, nullptr);
    const FloatControl changed = SaveFloatControl();
    RestoreFloatControl(before);
    dlclose(raw);
#endif
    ASSERT_NE(changed, before);
    // ...loaded as a module, they come back as they were.
    DynamicLibraries::Handle library = SystemLibraries().Load(probe);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(SaveFloatControl(), before);
    SystemLibraries().Free(library);
}

}  // namespace
}  // namespace qel
