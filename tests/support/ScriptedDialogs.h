#pragma once
// Common dialogs answered from a script, for tests. Each dialog takes the
// next answer of its queue; with none left it is cancelled. Every showing is
// recorded with the settings it was shown with.
#include <deque>

#include "platform/Dialogs.h"

namespace qel {

class ScriptedDialogs final : public CommonDialogs {
public:
    std::optional<std::vector<std::string>> OpenFiles(const FileDialogSettings& settings) override;
    std::optional<std::string> SaveFile(const FileDialogSettings& settings) override;
    std::optional<ListFont> PickFont() override;
    std::optional<int32_t> PickColor() override;

    std::deque<std::optional<std::vector<std::string>>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<ListFont>> fontAnswers;
    std::deque<std::optional<int32_t>> colorAnswers;

    std::vector<FileDialogSettings> openShown;
    std::vector<FileDialogSettings> saveShown;
    int fontShown = 0;
    int colorShown = 0;
};

}  // namespace qel
