#include "host/ModuleQueries.h"

#include <algorithm>
#include <optional>

#include "host/TitleCache.h"
#include "host/plugForm.h"
#include "platform/CodePage.h"
#include "platform/DynamicLibrary.h"
#include "platform/TempFolder.h"

namespace qel {
namespace {

enum class Question {
    Version,
    IsPlaying,
    OutputTime,
    ListLength,
    ListPosition,
    EntryFile,
    EntryTitle,
    SettingsFile,
    SettingsFolder,
    ModuleFolder,
    None,  // asked by modules, answered 0 on purpose
};

enum class Width { Number, Narrow, Wide };

struct QueryRow {
    int32_t id;
    Question question;
    Width width;
    size_t kind;  // the text buffer of the answer
};

// The questions modules ask and the form of each answer.
constexpr QueryRow kQueries[] = {
    {0, Question::Version, Width::Number, 0},
    {104, Question::IsPlaying, Width::Number, 0},
    {105, Question::OutputTime, Width::Number, 0},  // data 0: position ms, 1: length s, 2: length ms
    {124, Question::ListLength, Width::Number, 0},
    {125, Question::ListPosition, Width::Number, 0},
    {211, Question::EntryFile, Width::Narrow, 0},  // data: list index
    {212, Question::EntryTitle, Width::Narrow, 1},
    {213, Question::EntryTitle, Width::Wide, 1},
    {214, Question::EntryFile, Width::Wide, 0},
    {260, Question::None, Width::Number, 0},  // window handles: there are no such windows
    {334, Question::SettingsFile, Width::Narrow, 2},
    {335, Question::SettingsFolder, Width::Narrow, 3},
    {336, Question::ModuleFolder, Width::Narrow, 4},
    {1334, Question::SettingsFile, Width::Wide, 2},
    {1335, Question::SettingsFolder, Width::Wide, 3},
    {1336, Question::ModuleFolder, Width::Wide, 4},
    {3025, Question::None, Width::Number, 0},  // service interface: none
};

// Answers to "is playing".
constexpr intptr_t kStopped = 0, kPlaying = 1, kPaused = 3;

const QueryRow* FindQuery(int32_t id) {
    const auto row = std::find_if(std::begin(kQueries), std::end(kQueries), [id](const QueryRow& r) { return r.id == id; });
    return row == std::end(kQueries) ? nullptr : row;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A folder as modules expect it: without a trailing separator (a root keeps its own).
std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && IsSeparator(folder.back()) && folder[folder.size() - 2] != ':') folder.pop_back();
    return folder;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : WithoutTrailingSeparator(path.substr(0, slash + 1));
}

intptr_t IsPlaying(const TPlayerKorvel& pl) {
    if (pl.Started != 1 || pl.PlayEnded()) return kStopped;
    return pl.PauseState == 1 ? kPaused : kPlaying;
}

intptr_t OutputTime(TPlayerKorvel& pl, int32_t data) {
    InModule* in = pl.InputModule();
    if (!in) return 0;
    switch (data) {
        case 0: return pl.Started == 1 ? in->GetOutputTime() : 0;
        case 1: return pl.CurrentFile.empty() ? 0 : in->GetLength() / 1000;
        case 2: return pl.CurrentFile.empty() ? 0 : in->GetLength();
        default: return 0;
    }
}

// The list index of the file that plays: the selected item when it holds
// that file, else the first item that does, else the selected item.
int32_t ListPosition(const TPlaylistKv& list) {
    const int32_t selected = list.itemIndex();
    if (list.itempath(selected) == list.curpath) return std::max(selected, 0);
    for (int32_t i = 0; i < list.count(); ++i)
        if (list.itempath(i) == list.curpath) return i;
    return std::max(selected, 0);
}

// The title the player shows for an entry; its file name when the file has no title.
std::string EntryTitle(Tformplug& form, int32_t index) {
    const std::string title = form.pl.FileTitle(form.list.itempath(index));
    if (ShowsAsTitle(title)) return title;
    const auto& lines = form.list.paths();
    const size_t line = 2 * static_cast<size_t>(index);
    return line < lines.size() ? lines[line] : std::string();
}

std::string ModuleFolder(const TPlayerKorvel& pl) {
    return FolderOf(FindLibrary(pl.ModulePath.empty() ? pl.dllpath + pl.outdll : pl.ModulePath));
}

// The text answer of a question, or none when there is nothing to answer.
std::optional<std::string> TextAnswer(Tformplug& form, Question question, int32_t data) {
    const bool entryInRange = data >= 0 && data < form.list.count();
    switch (question) {
        case Question::EntryFile:
            if (entryInRange) return form.list.itempath(data);
            return std::nullopt;
        case Question::EntryTitle:
            if (entryInRange) return EntryTitle(form, data);
            return std::nullopt;
        case Question::SettingsFolder:
        case Question::SettingsFile: {
            const std::string folder = form.StatePath("");
            if (!EnsureFolder(folder)) return std::nullopt;
            if (question == Question::SettingsFolder) return WithoutTrailingSeparator(folder);
            return form.StatePath(kModuleSettingsFile);
        }
        case Question::ModuleFolder: {
            std::string folder = ModuleFolder(form.pl);
            if (folder.empty()) return std::nullopt;
            return folder;
        }
        default:
            return std::nullopt;
    }
}

intptr_t NumberAnswer(Tformplug& form, Question question, int32_t data) {
    switch (question) {
        case Question::IsPlaying: return IsPlaying(form.pl);
        case Question::OutputTime: return OutputTime(form.pl, data);
        case Question::ListLength: return form.list.count();
        case Question::ListPosition: return ListPosition(form.list);
        default: return 0;
    }
}

}  // namespace

intptr_t ModuleQueries::Answer(Tformplug* form, int32_t data, int32_t id) {
    const QueryRow* row = FindQuery(id);
    if (!row) return 0;
    if (row->question == Question::Version) return kModulePlayerVersion;
    if (!form) return 0;
    if (row->width == Width::Number) return NumberAnswer(*form, row->question, data);
    const std::optional<std::string> text = TextAnswer(*form, row->question, data);
    return text ? Text(*text, row->kind, row->width == Width::Wide) : 0;
}

intptr_t ModuleQueries::Text(const std::string& text, size_t kind, bool wide) {
    if (wide) {
        const std::u16string converted = SystemToWide(text);
        auto& buffer = wide_[kind];
        if (converted.size() >= buffer.size()) return 0;
        std::copy(converted.begin(), converted.end(), buffer.begin());
        buffer[converted.size()] = u'\0';
        return reinterpret_cast<intptr_t>(buffer.data());
    }
    auto& buffer = narrow_[kind];
    if (text.size() >= buffer.size()) return 0;
    std::copy(text.begin(), text.end(), buffer.begin());
    buffer[text.size()] = '\0';
    return reinterpret_cast<intptr_t>(buffer.data());
}

ModuleQueries& LibraryQueries() {
    static ModuleQueries queries;
    return queries;
}

}  // namespace qel
