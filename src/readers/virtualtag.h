#pragma once
// The reader base class and the two information records every analyser fills.
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "platform/BinaryFile.h"

namespace qel {

// Stream properties, all text; field order is the record's slot order. The
// fields of both records start empty ({}), so a record can be written with
// designated initializers that name only the fields it sets.
struct Tinfosound {
    std::string bitratenom{}, typeencoder{}, version{}, layer{}, cnanmod{}, profile{}, streamversion{}, cnanmodid{},
        bitpersamp{}, filelen{}, samplrate{}, bitrate{}, duration{}, framecount{}, bitratetype{}, bitratetypeid{},
        encoder{}, bits{}, peak{}, ratio{}, encoderid{}, emphasis{}, position{}, HeaderType{}, HeaderTypeID{},
        MPEGVersion{}, MPEGVersionID{}, ProfileID{}, compresion{};

    static constexpr size_t kFieldCount = 29;
    // Field names and members in slot order, for tools and exports.
    static const std::array<const char*, kFieldCount> kNames;
    static const std::array<std::string Tinfosound::*, kFieldCount> kFields;
    bool operator==(const Tinfosound&) const = default;
    void Clear();  // every field empty, their memory kept
};

// Descriptive tags, all text. Slots 0, 1, 16, 22 and 23 are spare.
struct Tinfotag {
    std::string spare0{}, spare1{}, Titlea{}, Artista{}, Albuma{}, Tracka{}, Yeara{}, Genrea{}, Commenta{},
        Copyrighta{}, Title1{}, Artist1{}, Album1{}, Year1{}, Comment1{}, Genre1{}, spare16{}, Title2{}, vendor{},
        Artist2{}, autor{}, origfile{}, spare22{}, spare23{}, Tracktext2{}, Album2{}, Year2{}, Comment2{}, Genre2{},
        Composer2{}, Encoder2{}, Copyright2{}, Link2{}, Language2{}, Track{};

    static constexpr size_t kSlotCount = 35;
    static constexpr size_t kNamedCount = 30;
    // The named fields (spare slots left out) in slot order.
    struct Named {
        size_t slot;
        const char* name;
        std::string Tinfotag::*field;
    };
    static const std::array<Named, kNamedCount> kNamed;
    bool operator==(const Tinfotag&) const = default;
    void Clear();  // every slot empty, their memory kept
};

// Calling an operation that an analyser does not provide.
class AbstractCallError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The abstract analyser. Each derived class reads one format; the dispatch
// drives it through the five virtual operations only.
class Ttag {
public:
    // Files are read through `files`, so one request can share one open file.
    explicit Ttag(FileOpener& files = SystemFiles()) : files_(&files) {}
    virtual ~Ttag() = default;
    Ttag(const Ttag&) = delete;
    Ttag& operator=(const Ttag&) = delete;

    // Reads the file's fields once per request (see ReadOnce): every field
    // cleared, then ReadFields.
    virtual bool ReadInfo(const std::string& fileName) {
        return ReadOnce(fileName, [&] {
            ClearFields();
            return ReadFields(fileName);
        });
    }
    virtual bool Open(const std::string& fileName) = 0;
    virtual void FillSoundInfo(Tinfosound& out) = 0;
    virtual void FillTagInfo(Tinfotag& out) = 0;
    virtual std::string ArtistTitle(const std::string& fileName) = 0;

    // Every field as before any read; the next ReadInfo reads the file again.
    void ClearFields() {
        ForgetRead();
        ResetFields();
    }
    void ClearSoundInfo() { InfoSound.Clear(); }
    void ClearTagInfo() { InfoTag.Clear(); }

    bool HasTag = false;
    bool HasID3v1 = false;
    bool HasID3v2 = false;
    Tinfosound InfoSound;
    Tinfotag InfoTag;
    std::string TypeName;

protected:
    FileOpener& files() const { return *files_; }

    // The work of ReadInfo: the analyser's own fields read from the file.
    // An analyser that reads nothing itself lacks it.
    virtual bool ReadFields(const std::string&) { NotProvided("ReadInfo"); }
    // Every analyser field as before any read.
    virtual void ResetFields() {}

    // Runs `read` (a ReadInfo body) unless the fields already hold what it
    // would give: the same file, read last through an opener whose contents
    // cannot change. The dispatch asks for ReadInfo up to three times per
    // request; the file is parsed once.
    template <class Read>
    bool ReadOnce(const std::string& fileName, Read&& read) {
        if (lastRead_.valid && lastRead_.fileName == fileName && files_->ContentsFixed()) return lastRead_.result;
        ForgetRead();
        const bool result = read();
        if (files_->ContentsFixed()) lastRead_ = {true, fileName, result};
        return result;
    }
    // The fields no longer hold a read's result (an analyser's ClearFields).
    void ForgetRead() { lastRead_.valid = false; }

    // For an operation a format deliberately lacks: always an error.
    [[noreturn]] static void NotProvided(const char* operation);

private:
    FileOpener* files_;
    struct LastRead {
        bool valid = false;
        std::string fileName;
        bool result = false;
    } lastRead_;
};

}  // namespace qel
