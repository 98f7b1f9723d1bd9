#pragma once
// The common dialogs the playlist uses: open files, save a file, choose a
// font, choose a colour. Every one returns nothing when the user cancels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ListLook.h"

namespace qel {

// How a file dialog is shown. A filter is a list of pairs, a description
// and a file pattern, all joined by "|".
struct FileDialogSettings {
    std::string filter;
    std::string initialDir;
    std::string defaultExt;  // appended when the user types a name without one
    bool multiSelect = false;
    bool fileMustExist = false;
    bool hideReadOnly = false;
    bool resizable = false;

    bool operator==(const FileDialogSettings&) const = default;
};

class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;
    // The chosen files, full paths in the dialog's order (at least one).
    virtual std::optional<std::vector<std::string>> OpenFiles(const FileDialogSettings& settings) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogSettings& settings) = 0;
    // Starts at the dialog's own default font.
    virtual std::optional<ListFont> PickFont() = 0;
    // Starts at the dialog's own default colour; a direct colour 0x00BBGGRR.
    virtual std::optional<int32_t> PickColor() = 0;
};

}  // namespace qel
