// The formats the file information dispatch knows: one row per analyser
// family, each with the extensions it serves and its format words.
#include "player/FileInfoDispatch.h"
#include "readers/AACfile.h"
#include "readers/APEtag.h"
#include "readers/MPEGplus.h"
#include "readers/Monkey.h"
#include "readers/WAVfile.h"

namespace qel {

const std::vector<DispatchRow>& DispatchTable() {
    static const std::vector<DispatchRow> table = {
        // APE tags on their own: no stream properties, the sound record stays empty.
        {{".ape"}, {".ape"}, {{MakeAnalyser<TAPEtag>, "apetag"}}, ReadSequence::Standard},
        // MPEGplus: only ".mp+" files get a display title.
        {{".mp+", ".mpc"}, {".mp+"}, {{MakeAnalyser<TMPEGplus>, "mpeg+tag"}}, ReadSequence::Standard},
        {{".mac"}, {".mac"}, {{MakeAnalyser<TMonkey>, "monkeytag"}}, ReadSequence::Standard},
        // Raw AAC streams under any of these extensions; MP4 containers are not read.
        {{".aac", ".m4a", ".mp4"}, {".aac", ".m4a", ".mp4"}, {{MakeAnalyser<TAACfile>, "aactag"}},
         ReadSequence::Standard},

        // Only a WAV stream under this extension is recognised.
        {{".wma"}, {".wma"}, {{MakeAnalyser<TWAVfile>, "wmatag"}}, ReadSequence::Standard},
    };
    return table;
}

}  // namespace qel
