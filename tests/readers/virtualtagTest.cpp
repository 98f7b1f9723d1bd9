#include <gtest/gtest.h>

#include "readers/virtualtag.h"

namespace qel {
namespace {

TEST(Records, NamesFollowSlotOrder) {
    EXPECT_STREQ(Tinfosound::kNames[0], "bitratenom");
    EXPECT_STREQ(Tinfosound::kNames[28], "compresion");
    const std::string three = "3";  // named: GCC 12 warns falsely on a literal here
    Tinfosound s;
    s.*Tinfosound::kFields[12] = three;
    EXPECT_EQ(s.duration, "3");
    EXPECT_EQ(Tinfotag::kNamed.front().slot, 2u);
    EXPECT_EQ(Tinfotag::kNamed.back().slot, 34u);
    for (size_t i = 1; i < Tinfotag::kNamed.size(); ++i) EXPECT_LT(Tinfotag::kNamed[i - 1].slot, Tinfotag::kNamed[i].slot);
    // Slot numbers equal member positions in the record.
    Tinfotag t;
    for (const auto& named : Tinfotag::kNamed) {
        auto* base = reinterpret_cast<const char*>(&t);
        auto* member = reinterpret_cast<const char*>(&(t.*named.field));
        EXPECT_EQ(static_cast<size_t>(member - base) / sizeof(std::string), named.slot) << named.name;
    }
}

// A class that lacks an operation cannot leave it silent: it must say so.
class PartialReader : public Ttag {
public:
    bool ReadInfo(const std::string&) override { NotProvided("ReadInfo"); }
    bool Open(const std::string&) override { return false; }
    void FillSoundInfo(Tinfosound&) override {}
    void FillTagInfo(Tinfotag&) override {}
    std::string ArtistTitle(const std::string&) override { return {}; }
};

TEST(Ttag, RecordsClearEverySlot) {
    const std::string x = "x";
    Tinfosound sound;
    for (auto field : Tinfosound::kFields) sound.*field = x;
    sound.Clear();
    EXPECT_EQ(sound, Tinfosound{});
    Tinfotag tags;
    for (const auto& named : Tinfotag::kNamed) tags.*named.field = x;
    for (std::string* spare : {&tags.spare0, &tags.spare1, &tags.spare16, &tags.spare22, &tags.spare23}) *spare = x;
    tags.Clear();
    EXPECT_EQ(tags, Tinfotag{});
}

TEST(Ttag, MissingOperationIsAnError) {
    PartialReader reader;
    EXPECT_THROW(reader.ReadInfo("x"), AbstractCallError);
    EXPECT_FALSE(reader.HasTag);
    EXPECT_TRUE(reader.TypeName.empty());
}

}  // namespace
}  // namespace qel
