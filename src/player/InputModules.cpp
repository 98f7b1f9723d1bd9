#include "player/InputModules.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace qel {
namespace {

struct ModuleRow {
    std::vector<std::string_view> extensions;
    const char* module;
};

const ModuleRow kModules[] = {
    {{".cda"}, "in_cdda.dll"},
    {{".mmd"}, "in_fid.dll"},
    {{".flac", ".flc"}, "in_flac.dll"},
    {{".lqt"}, "in_Liquid.dll"},
    {{".mac"}, "in_MAC.dll"},
    {{".mid", ".midi", ".rmi", ".kar"}, "in_midi.dll"},
    {{".mjf"}, "in_mjf.dll"},
    {{".mod", ".mdz", ".nst", ".stm", ".stz", ".s3m", ".it", ".itz", ".xm", ".xmz", ".mtm", ".ult", ".669",
      ".far", ".amf", ".okt", ".ptm"},
     "in_mod.dll"},
    {{".mp4", ".m4a", ".aac"}, "in_mp4.dll"},
    {{".nsv", ".nsa"}, "in_nsv.dll"},
    {{".ogg"}, "in_vorbis.dll"},
    {{".vqf"}, "in_vqf.dll"},
    {{".wma"}, "in_wm.dll"},
    {{".voc"}, "in_wave.dll"},
};

// MP3 and WAV files, by the format word the information dispatch found.
struct ContentRow {
    const char* tagType;
    const char* module;
};
const ContentRow kByContent[] = {
    {"wavtag", "in_wave.dll"},
    {"mp3tag", "in_mp3PRO.dll"},
};

}  // namespace

std::string InputModuleFor(const std::string& extension, const std::string& tagType) {
    if (extension == ".mp3" || extension == ".wav") {
        for (const auto& row : kByContent)
            if (tagType == row.tagType) return row.module;
        return {};
    }
    for (const auto& row : kModules)
        if (std::find(row.extensions.begin(), row.extensions.end(), extension) != row.extensions.end())
            return row.module;
    return {};
}

}  // namespace qel
