#pragma once
// A window object over in-memory fakes: list box, dialogs, window, module
// libraries, settings files and audio files; the state files go to a real
// scratch folder of the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/ExportTable.h"
#include "host/plugForm.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeModules.h"
#include "support/FakePluginWindow.h"
#include "support/MemoryFiles.h"
#include "support/MemoryIniFiles.h"
#include "support/MemoryListBox.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace qel::test {

class FormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddInput("plugin\\in_wave.dll");
        fake.AddOutput("plugin\\out_wave.dll");
        fake.length = 10000;
        fake.playRewinds = true;
        times = PlayTimes{};
        temp = ScratchFolder() + "form-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(temp);
        std::filesystem::create_directories(temp);
        Plugin() = PluginState{};
    }
    void TearDown() override {
        Plugin() = PluginState{};
        form.reset();
        std::filesystem::remove_all(temp);
    }

    // Creates the window object the way the host entry point does; the
    // player and the title reader read audio files through `audio`.
    Tformplug& Create(FileOpener* audio = nullptr) {
        form = std::make_unique<Tformplug>(FormPorts{
            window, box, dialogs, PlayerPorts{modules, ini, boxes, audio ? *audio : files, times, temp}, SystemFiles(),
            temp});
        Plugin().form = form.get();
        return *form;
    }

    // Waits for the title reader and shows every title it read, as the
    // window's posted notices would.
    void ShowTitles() {
        do form->titleReader().WaitUntilIdle();
        while (form->TitlesArrived() > 0);
    }

    // Runs an export the way the DLL's thunk does.
    void Call(const char* name) {
        const ExportEntry* entry = FindExport(name);
        ASSERT_NE(entry, nullptr) << name;
        RunExport(entry->handler);
    }

    // Audio files the player can open: ".voc" goes to "in_wave.dll".
    void AddAudio(const std::string& path) { files.Add(path, Bytes(64, 0)); }
    void ListOf(std::initializer_list<std::string> paths) {
        std::string text;
        for (const std::string& path : paths) {
            AddAudio(path);
            text += path.substr(path.find_last_of('\\') + 1) + "\r\n" + path + "\r\n";
        }
        WriteFileBytes(temp + "list.kvl", Bytes(text.begin(), text.end()));
    }

    std::string temp;
    FakePluginWindow window;
    MemoryListBox box;
    ScriptedDialogs dialogs;
    FakeModules fake;
    ModuleSlots modules{fake.libraries};
    MemoryIniFiles ini;
    FakeMessageBoxes boxes;
    MemoryFiles files;
    PlayTimes times;
    std::unique_ptr<Tformplug> form;
};

}  // namespace qel::test
