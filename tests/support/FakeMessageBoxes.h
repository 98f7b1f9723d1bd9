#pragma once
// Message boxes for tests: each shown text is kept, none blocks; whileShown
// runs as the host's messages would while a box is up.
#include <functional>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace qel {

class FakeMessageBoxes final : public MessageBoxes {
public:
    void ShowError(const std::string& text) override {
        shown.push_back(text);
        if (whileShown) whileShown();
    }
    std::vector<std::string> shown;
    std::function<void()> whileShown;
};

}  // namespace qel
