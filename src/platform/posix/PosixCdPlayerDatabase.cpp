#include "platform/CdPlayerDatabase.h"

namespace qel {

// There is no CD player database outside Windows unless the caller names one.
std::string DefaultCdPlayerIniPath() { return {}; }

}  // namespace qel
