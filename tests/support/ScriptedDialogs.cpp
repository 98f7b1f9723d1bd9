#include "support/ScriptedDialogs.h"

namespace qel {
namespace {

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    std::optional<T> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

}  // namespace

std::optional<std::vector<std::string>> ScriptedDialogs::OpenFiles(const FileDialogSettings& settings) {
    openShown.push_back(settings);
    return Next(openAnswers);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogSettings& settings) {
    saveShown.push_back(settings);
    return Next(saveAnswers);
}

std::optional<ListFont> ScriptedDialogs::PickFont() {
    ++fontShown;
    return Next(fontAnswers);
}

std::optional<int32_t> ScriptedDialogs::PickColor() {
    ++colorShown;
    return Next(colorAnswers);
}

}  // namespace qel
