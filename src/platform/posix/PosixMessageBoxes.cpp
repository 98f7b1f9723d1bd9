// The native build has no windows: a message goes to the error stream.
#include <cstdio>

#include "platform/MessageBox.h"

namespace qel {
namespace {

class StreamMessageBoxes final : public MessageBoxes {
public:
    void ShowError(const std::string& text) override { std::fprintf(stderr, "Error: %s\n", text.c_str()); }
};

}  // namespace

MessageBoxes& SystemMessageBoxes() {
    static StreamMessageBoxes boxes;
    return boxes;
}

}  // namespace qel
