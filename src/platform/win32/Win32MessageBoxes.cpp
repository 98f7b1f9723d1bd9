#include <windows.h>

#include "platform/MessageBox.h"

namespace qel {
namespace {

class Win32MessageBoxes final : public MessageBoxes {
public:
    void ShowError(const std::string& text) override {
        MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
};

}  // namespace

MessageBoxes& SystemMessageBoxes() {
    static Win32MessageBoxes boxes;
    return boxes;
}

}  // namespace qel
