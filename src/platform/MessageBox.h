#pragma once
// Modal messages for the user.
#include <string>

namespace qel {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal error message with one OK button; returns when it is closed.
    virtual void ShowError(const std::string& text) = 0;
};

MessageBoxes& SystemMessageBoxes();

}  // namespace qel
