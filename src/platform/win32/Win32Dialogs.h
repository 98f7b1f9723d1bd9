#pragma once
// The common dialogs of comdlg32 behind the dialog interface.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace qel {

class Win32Dialogs final : public CommonDialogs {
public:
    explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    std::optional<std::vector<std::string>> OpenFiles(const FileDialogSettings& settings) override;
    std::optional<std::string> SaveFile(const FileDialogSettings& settings) override;
    std::optional<ListFont> PickFont() override;
    std::optional<int32_t> PickColor() override;

private:
    HWND owner_;
    COLORREF customColors_[16] = {};
};

// "desc|pattern|..." as the dialog wants it: each piece ended by a zero
// byte and the whole by a second one.
std::string DialogFilter(const std::string& filter);

// The full paths in the file buffer of an open dialog: one full path, or
// (after a multiple choice) the folder followed by the file names, each
// ended by a zero byte and the whole by a second one.
std::vector<std::string> ChosenFiles(const std::string& buffer, size_t fileOffset);

// The open and save dialogs' option flags for the settings.
DWORD FileDialogFlags(const FileDialogSettings& settings, bool forOpen);

}  // namespace qel
