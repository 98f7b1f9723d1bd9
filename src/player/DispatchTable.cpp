// The formats the file information dispatch knows: one row per analyser
// family, each with the extensions it serves and its format words.
#include "player/FileInfoDispatch.h"

namespace qel {

const std::vector<DispatchRow>& DispatchTable() {
    static const std::vector<DispatchRow> table = {
    };
    return table;
}

}  // namespace qel
