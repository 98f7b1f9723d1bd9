#include "player/ModuleFileName.h"

#include "platform/CodePage.h"

namespace qel {

ModuleFileName::ModuleFileName(const InModule& module, const std::string& file) {
    if (TakesWideNames(module)) {
        const std::u16string wide = SystemToWide(file);
        wide_.assign(wide.begin(), wide.end());
        wide_.push_back(u'\0');
    } else {
        narrow_.assign(file.begin(), file.end());
        narrow_.push_back('\0');
    }
}

}  // namespace qel
