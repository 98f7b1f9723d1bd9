#pragma once
// A playlist control over the in-memory list box, scripted dialogs and
// in-memory files, recording every event it raises.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/PlaylistKv.h"
#include "support/MemoryFiles.h"
#include "support/MemoryIniFiles.h"
#include "support/MemoryListBox.h"
#include "support/ScriptedDialogs.h"

namespace qel::test {

class PlaylistFixture : public ::testing::Test {
protected:
    PlaylistFixture() {
        list.Onnewitem = [this](TPlaylistKv& sender) {
            EXPECT_EQ(&sender, &list);
            newitems.push_back(sender.curpath);
        };
        list.Onaddlist = [this](int32_t n) { addlists.push_back(n); };
        list.Onadditem = [this](int32_t n) { additems.push_back(n); };
    }

    // Adds files through the add-files dialog, then forgets the events.
    void Add(const std::vector<std::string>& fullPaths) {
        dialogs.openAnswers.push_back(fullPaths);
        list.addfiles();
        newitems.clear();
        additems.clear();
    }

    void AddABCDE() {
        Add({"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\c.mp3", "C:\\m\\d.mp3", "C:\\m\\e.mp3"});
    }

    MemoryListBox box;
    ScriptedDialogs dialogs;
    MemoryIniFiles ini;
    MemoryFiles files;
    TPlaylistKv list{box, dialogs, ini, files};

    std::vector<std::string> newitems;  // curpath at every Onnewitem
    std::vector<int32_t> addlists;
    std::vector<int32_t> additems;
};

}  // namespace qel::test
