#pragma once
// Message boxes for tests: each shown text is kept, none blocks.
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace qel {

class FakeMessageBoxes final : public MessageBoxes {
public:
    void ShowError(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

}  // namespace qel
