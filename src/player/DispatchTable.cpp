// The formats the file information dispatch knows: one row per analyser
// family, each with the extensions it serves and its format words.
#include "player/FileInfoDispatch.h"
#include "readers/AACfile.h"
#include "readers/APEtag.h"
#include "readers/MPEGplus.h"
#include "readers/Monkey.h"
#include "readers/MPEGaudio.h"
#include "readers/WAVfile.h"
#include "readers/WMAfile.h"
#include "readers/CDAtrack.h"
#include "readers/FLACfile.h"
#include "readers/OggOpus.h"
#include "readers/OggVorbis.h"
#include "readers/TwinVQ.h"

namespace qel {

const std::vector<DispatchRow>& DispatchTable() {
    static const std::vector<DispatchRow> table = {
        // Monkey's Audio with its APE tag, as its encoders name it; else an APE
        // tag on its own (no stream properties, the sound record stays empty).
        {{".ape"}, {".ape"}, {{MakeAnalyser<TMonkeyApe>, "monkeytag"}, {MakeAnalyser<TAPEtag>, "apetag"}},
         ReadSequence::Standard},
        // MPEGplus: only ".mp+" files get a display title.
        {{".mp+", ".mpc"}, {".mp+"}, {{MakeAnalyser<TMPEGplus>, "mpeg+tag"}}, ReadSequence::Standard},
        {{".mac"}, {".mac"}, {{MakeAnalyser<TMonkey>, "monkeytag"}}, ReadSequence::Standard},
        // Raw AAC streams under any of these extensions; MP4 containers are not read.
        {{".aac", ".m4a", ".mp4"}, {".aac", ".m4a", ".mp4"}, {{MakeAnalyser<TAACfile>, "aactag"}},
         ReadSequence::Standard},

        // MPEG audio, else a WAV stream; ".mp2" files get no display title.
        {{".mp3", ".wav", ".mp2"},
         {".mp3", ".wav"},
         {{MakeAnalyser<TMPEGaudio>, "mp3tag"}, {MakeAnalyser<TWAVfile>, "wavtag"}},
         ReadSequence::ReadInfoFirst},

        // Windows Media files by their ASF header; a ".wma" file holding a WAV
        // stream is still read as one.
        {{".wma"}, {".wma"}, {{MakeAnalyser<TWMAfile>, "wmatag"}, {MakeAnalyser<TWAVfile>, "wmatag"}},
         ReadSequence::Standard},
        {{".asf"}, {".asf"}, {{MakeAnalyser<TWMAfile>, "wmatag"}}, ReadSequence::Standard},

        // Ogg Vorbis, else Ogg Opus (its sound record names the codec); FLAC
        // (no ReadInfo of its own), TwinVQ, CD audio tracks.
        {{".ogg"}, {".ogg"}, {{MakeAnalyser<TOggVorbis>, "oggtag"}, {MakeAnalyser<TOggOpus>, "oggtag"}},
         ReadSequence::Standard},
        {{".opus"}, {".opus"}, {{MakeAnalyser<TOggOpus>, "oggtag"}}, ReadSequence::Standard},
        {{".flac", ".flc"}, {".flac", ".flc"}, {{MakeAnalyser<TFLACfile>, "flactag"}}, ReadSequence::OpenOnly},
        {{".vqf"}, {".vqf"}, {{MakeAnalyser<TTwinVQ>, "vqftag"}}, ReadSequence::Standard},
        {{".cda"}, {".cda"}, {{MakeAnalyser<TCDAtrack>, "CDAtag"}}, ReadSequence::Standard},
    };
    return table;
}

}  // namespace qel
