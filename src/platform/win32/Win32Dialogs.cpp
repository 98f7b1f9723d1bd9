#include "platform/win32/Win32Dialogs.h"

#include <commdlg.h>

namespace qel {
namespace {

// Room for many files chosen at once.
constexpr size_t kFileBuffer = 256 * 1024;

OPENFILENAMEA FileDialogRecord(HWND owner, const FileDialogSettings& settings, const std::string& filter,
                               std::string& buffer) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = settings.initialDir.empty() ? nullptr : settings.initialDir.c_str();
    ofn.lpstrDefExt = settings.defaultExt.empty() ? nullptr : settings.defaultExt.c_str();
    return ofn;
}

}  // namespace

std::string DialogFilter(const std::string& filter) {
    if (filter.empty()) return {};
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out += '\0';
    out += '\0';
    return out;
}

std::vector<std::string> ChosenFiles(const std::string& buffer, size_t fileOffset) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < buffer.size() && buffer[start] != '\0') {
        size_t end = buffer.find('\0', start);
        if (end == std::string::npos) end = buffer.size();
        parts.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    if (parts.empty()) return {};
    // Several files: the folder comes first and the names start after its end.
    if (parts.size() > 1 && fileOffset == parts[0].size() + 1) {
        std::string folder = parts[0];
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        std::vector<std::string> paths;
        for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
        return paths;
    }
    return {parts[0]};
}

DWORD FileDialogFlags(const FileDialogSettings& settings, bool forOpen) {
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (settings.multiSelect && forOpen) flags |= OFN_ALLOWMULTISELECT;
    if (settings.fileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (settings.hideReadOnly) flags |= OFN_HIDEREADONLY;
    if (settings.resizable) flags |= OFN_ENABLESIZING;
    return flags;
}

std::optional<std::vector<std::string>> Win32Dialogs::OpenFiles(const FileDialogSettings& settings) {
    const std::string filter = DialogFilter(settings.filter);
    std::string buffer(kFileBuffer, '\0');
    OPENFILENAMEA ofn = FileDialogRecord(owner_, settings, filter, buffer);
    ofn.Flags = FileDialogFlags(settings, true);
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    auto files = ChosenFiles(buffer, ofn.nFileOffset);
    if (files.empty()) return std::nullopt;
    return files;
}

std::optional<std::string> Win32Dialogs::SaveFile(const FileDialogSettings& settings) {
    const std::string filter = DialogFilter(settings.filter);
    std::string buffer(MAX_PATH * 4, '\0');
    OPENFILENAMEA ofn = FileDialogRecord(owner_, settings, filter, buffer);
    ofn.Flags = FileDialogFlags(settings, false);
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    std::string path(buffer.c_str());
    if (path.empty()) return std::nullopt;
    return path;
}

std::optional<ListFont> Win32Dialogs::PickFont() {
    LOGFONTA lf{};
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner_;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS;
    if (!ChooseFontA(&cf)) return std::nullopt;
    ListFont font;
    font.name = lf.lfFaceName;
    font.size = cf.iPointSize / 10;
    font.color = static_cast<int32_t>(cf.rgbColors & 0x00FFFFFFu);
    font.charset = lf.lfCharSet;
    font.bold = lf.lfWeight >= FW_BOLD;
    font.italic = lf.lfItalic != 0;
    font.underline = lf.lfUnderline != 0;
    font.strikeOut = lf.lfStrikeOut != 0;
    return font;
}

std::optional<int32_t> Win32Dialogs::PickColor() {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner_;
    cc.rgbResult = 0;
    cc.lpCustColors = customColors_;
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc)) return std::nullopt;
    return static_cast<int32_t>(cc.rgbResult & 0x00FFFFFFu);
}

}  // namespace qel
