#include "FuzzInput.h"
#include "readers/CDAtrack.h"
#include "support/MemoryIniFiles.h"

namespace {

// A database with names for a few discs, so the lookups find something.
qel::MemoryIniFiles& Database() {
    static qel::MemoryIniFiles ini = [] {
        qel::MemoryIniFiles files;
        files.texts["cdplayer.ini"] =
            "[2B]\r\nartist=Band\r\ntitle=Disc\r\n1=One\r\n3=Three\r\n[05]\r\n1=Five one\r\n[FFFFFFFF]\r\n65535=Last\r\n";
        return files;
    }();
    return ini;
}

class TrackWithDatabase : public qel::TCDAtrack {
public:
    explicit TrackWithDatabase(qel::FileOpener& files) : TCDAtrack(files, Database(), "cdplayer.ini") {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<TrackWithDatabase>(data, size, "in.cda");
    return 0;
}
