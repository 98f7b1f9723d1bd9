#pragma once
// The APE tag (versions 1 and 2) at the end of a file, in front of an ID3v1
// tag when there is one: eight known items. It has no stream properties.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/virtualtag.h"

namespace qel {

class TAPEtag : public Ttag {
public:
    static constexpr size_t kFooterSize = 32;
    static constexpr size_t kValueCap = 250;  // bytes of a value that are kept
    static constexpr size_t kItemCount = 8;

    explicit TAPEtag(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    // No stream properties: the caller's record is left as it was.
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    // This reader gives no display title.
    std::string ArtistTitle(const std::string& fileName) override;

    bool Present = false;
    int32_t Version = 0;
    int32_t TagSize = 0;
    std::string Title, Artist, Album;
    uint8_t Track = 0;
    std::string Year, Genre, Comment, Copyright;

private:
    // ReadInfo is true when the footer area could be read, tag or not; never throws.
    // Present after ReadInfo.
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    using Slots = std::array<std::string, kItemCount>;
    void ReadItems(BinaryFile& file, int64_t areaEnd, int32_t count, Slots& slots) const;
};

// A present tag's fields (Titlea ... Copyrighta) into a record that other
// readers filled; nothing when the tag is absent.
void MergeApeFields(TAPEtag& tag, Tinfotag& out);

}  // namespace qel
