// Sharing rules of the readers' opens against another program's write handle.
#include <gtest/gtest.h>
#include <windows.h>

#include "player/FileInfoDispatch.h"
#include "support/ContainerBuilders.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

// Another program's handle open for writing, which lets others read and write.
class WriteHandle {
public:
    explicit WriteHandle(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~WriteHandle() {
        if (held()) CloseHandle(handle_);
    }
    WriteHandle(const WriteHandle&) = delete;
    WriteHandle& operator=(const WriteHandle&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

struct HeldCase {
    const char* name;
    test::Bytes contents;
    const char* typeTag;
    const char* whileHeld;  // the format word while another program writes
};

TEST(Win32Files, OpensThatDenyWritersFailWhileAnotherProgramWrites) {
    const HeldCase cases[] = {
        // Their analysers open the file denying writers (FLAC and AAC after
        // their ID3 readers opened it allowing them).
        {"held.flac", test::ReadFileBytes(test::DataPath("flac-sine.flac")), "flactag", "notag"},
        {"held.aac", test::ReadFileBytes(test::DataPath("adts.aac")), "aactag", "notag"},
        {"held.ogg", test::ReadFileBytes(test::DataPath("oggenc-sine.ogg")), "oggtag", "notag"},
        {"held.cda", test::CdaTrack(3, 0x2B, 0, 16155), "CDAtag", "notag"},
        // Every open of an MP3 file allows writers.
        {"held.mp3", test::ReadFileBytes(test::DataPath("cbr.mp3")), "mp3tag", "mp3tag"},
    };
    for (const auto& c : cases) {
        test::ScratchFile file(c.name, c.contents);
        FileInfoDispatch dispatch;
        {
            WriteHandle writer(file.path());
            ASSERT_TRUE(writer.held()) << c.name;
            dispatch.ReadFileInfo(file.path());
            EXPECT_EQ(dispatch.TagType, c.whileHeld) << c.name;
        }
        dispatch.ReadFileInfo(file.path());
        EXPECT_EQ(dispatch.TagType, c.typeTag) << c.name;
    }
}

}  // namespace
}  // namespace qel
