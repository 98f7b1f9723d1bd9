#pragma once
// Shared plumbing of the fuzz targets: the input served as a file through the
// same per-request opener the dispatch uses, and the dispatch's calling order.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/RequestFiles.h"
#include "player/FileInfoDispatch.h"
#include "readers/virtualtag.h"
#include "support/MemoryFiles.h"

namespace qel::fuzz {

// Serves the input as the file `name`.
inline MemoryFiles InputFiles(const uint8_t* data, size_t size, const std::string& name) {
    return MemoryFiles(name, MemoryFiles::Bytes(data, data + size));
}

// Drives an analyser as the dispatch does, then asks for its title. Only the
// failures an analyser may let escape are caught; any other exception is a
// fault and ends the run.
template <class Analyser>
void RunAnalyser(const uint8_t* data, size_t size, const std::string& name,
                 ReadSequence sequence = ReadSequence::Standard) {
    MemoryFiles memory = InputFiles(data, size, name);
    RequestFiles files(memory);
    Analyser analyser(files);
    try {
        if (sequence == ReadSequence::ReadInfoFirst) analyser.ReadInfo(name);
        if (!analyser.Open(name)) return;
        if (sequence != ReadSequence::OpenOnly) analyser.ReadInfo(name);
        Tinfosound sound;
        analyser.FillSoundInfo(sound);
        Tinfotag tags;
        analyser.FillTagInfo(tags);
        analyser.ArtistTitle(name);
    } catch (const std::domain_error&) {  // a division by zero in a formula
    } catch (const FileOpenError&) {
    }
}

}  // namespace qel::fuzz
