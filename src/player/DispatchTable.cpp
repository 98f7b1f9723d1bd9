// The formats the file information dispatch knows: one row per analyser
// family, each with the extensions it serves and its format words.
#include "player/FileInfoDispatch.h"
#include "readers/APEtag.h"
#include "readers/WAVfile.h"

namespace qel {

const std::vector<DispatchRow>& DispatchTable() {
    static const std::vector<DispatchRow> table = {
        // APE tags on their own: no stream properties, the sound record stays empty.
        {{".ape"}, {".ape"}, {{MakeAnalyser<TAPEtag>, "apetag"}}, ReadSequence::Standard},

        // Only a WAV stream under this extension is recognised.
        {{".wma"}, {".wma"}, {{MakeAnalyser<TWAVfile>, "wmatag"}}, ReadSequence::Standard},
    };
    return table;
}

}  // namespace qel
