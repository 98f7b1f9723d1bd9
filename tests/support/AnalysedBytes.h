#pragma once
// Runs an analyser over bytes served as a file, in the order the dispatch
// uses: ReadInfo, Open, then both fills.
#include <initializer_list>
#include <string>
#include <utility>

#include "readers/virtualtag.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel::test {

template <class Analyser>
struct AnalysedBytes {
    explicit AnalysedBytes(Bytes bytes, std::string fileName = "file") : name(std::move(fileName)) {
        files.Add(name, std::move(bytes));
        read = reader.ReadInfo(name);
        open = reader.Open(name);
        reader.FillSoundInfo(sound);
        reader.FillTagInfo(tags);
    }
    std::string ArtistTitle() { return reader.ArtistTitle(name); }

    std::string name;
    MemoryFiles files;
    Analyser reader{files};
    bool read = false, open = false;
    Tinfosound sound;
    Tinfotag tags;
};

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An ID3v1.0 tag with only an artist and a title.
inline Bytes ID3v1ArtistTitle(const std::string& artist, const std::string& title) {
    ID3v1Fields fields;
    fields.artist = artist;
    fields.title = title;
    return ID3v1Tag(fields);
}

}  // namespace qel::test
