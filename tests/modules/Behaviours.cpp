#include "Behaviours.h"

#include <cstring>

#include "ModuleLog.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#if defined(IMPORTS_CODEC)
extern "C" __declspec(dllimport) int __cdecl qelcodecVersion();
#endif

namespace testmodule {
namespace {

#if defined(_WIN32) && defined(ASKS_QUERIES)

// The 8-bit form of a 16-bit text, in the system code page.
std::string Narrowed(const wchar_t* text) {
    if (!text) return "(0)";
    char buffer[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

std::wstring Widened(const std::string& text) {
    wchar_t buffer[4096] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer, 4095);
    return buffer;
}

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string OwnFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnFolder), &self);
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(self, buffer, sizeof buffer);
    return Folder(buffer);
}

class Asker {
public:
    Asker(qel::InModule& module, std::string when)
        : window_(static_cast<HWND>(module.hMainWindow)), when_(std::move(when)) {}

    LRESULT Ask(int id, int data = 0) { return SendMessageA(window_, WM_USER, static_cast<WPARAM>(data), id); }
    const char* Text(int id, int data = 0) { return reinterpret_cast<const char*>(Ask(id, data)); }
    const wchar_t* WideText(int id, int data = 0) { return reinterpret_cast<const wchar_t*>(Ask(id, data)); }

    void Note(const std::string& what, const std::string& answer) { Log(when_ + " " + what + " " + answer); }
    void Number(const std::string& what, int id, int data = 0) { Note(what, std::to_string(Ask(id, data))); }
    // Texts between brackets, so that a test can see where they end.
    static std::string Bracketed(const std::string& text) {
        std::string shown(1, '[');
        shown.append(text).push_back(']');
        return shown;
    }
    std::string Show(const char* text) { return text ? Bracketed(text) : "0"; }
    std::string Show(const wchar_t* text) { return text ? Bracketed(Narrowed(text)) : "0"; }

    void Check(const std::string& what, bool holds) { Note("check " + what, holds ? "ok" : "FAILED"); }

    // The questions that do not depend on the file.
    void Common() {
        Number("version", 0);
        Number("playing", 104);
        Note("time", std::to_string(Ask(105, 0)) + " " + std::to_string(Ask(105, 1)) + " " +
                         std::to_string(Ask(105, 2)));
        Number("length", 124);
        Number("position", 125);
        Note("none", std::to_string(Ask(260)) + " " + std::to_string(Ask(3025)) + " " + std::to_string(Ask(77777)));
        const std::string file = Show(Text(334)), folder = Show(Text(335)), modules = Show(Text(336));
        Note("334", file);
        Note("335", folder);
        Note("336", modules);
        Check("wide settings file", Show(WideText(1334)) == file);
        Check("wide settings folder", Show(WideText(1335)) == folder);
        Check("wide module folder", Show(WideText(1336)) == modules);
        const char* settings = Text(335);
        const DWORD attributes = settings ? GetFileAttributesA(settings) : INVALID_FILE_ATTRIBUTES;
        Check("settings folder exists", attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
        Check("settings file in it", settings && Folder(Text(334) ? Text(334) : "") == Text(335));
        Check("module folder is mine", Text(336) && lstrcmpiA(Text(336), OwnFolder().c_str()) == 0);
    }

    // The questions about the list, with the file the module was given.
    void Entries(const std::string& playing) {
        const int count = static_cast<int>(Ask(124));
        const int position = static_cast<int>(Ask(125));
        Note("211", Show(Text(211, position)));
        Note("212", Show(Text(212, position)));
        Note("213", Show(WideText(213, position)));
        Note("214", Show(WideText(214, position)));
        const char* kept = Text(211, position);
        Check("entry is the file", kept && playing == kept);
        Check("wide entry is the file", WideText(214, position) && Widened(playing) == WideText(214, position));
        Check("same question same text", Text(211, position) == kept && kept && playing == kept);
        Text(212, position);
        WideText(214, position);
        Check("kept pointer still reads", kept && playing == kept);
        Note("out of range", std::to_string(Ask(211, count)) + " " + std::to_string(Ask(212, -1)) + " " +
                                 std::to_string(Ask(213, count + 5)) + " " + std::to_string(Ask(214, -7)));
    }

private:
    HWND window_;
    std::string when_;
};

#endif

}  // namespace

std::string NameText(const char* name) {
#if defined(_WIN32) && defined(WIDE_NAMES)
    char buffer[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(name), -1, buffer, sizeof buffer - 1, nullptr,
                        nullptr);
    return buffer;
#else
    return name;
#endif
}

FILE* OpenNamed(const char* name) {
#if defined(_WIN32) && defined(WIDE_NAMES)
    return _wfopen(reinterpret_cast<const wchar_t*>(name), L"rb");
#else
    return std::fopen(name, "rb");
#endif
}

int ReportedLength(int ms) {
#if defined(LENGTH_ROUNDED_UP)
    return ms + 1;
#else
    return ms;
#endif
}

void AfterInit([[maybe_unused]] qel::InModule& module) {
#if defined(IMPORTS_CODEC)
    Log("codec " + std::to_string(qelcodecVersion()));
#endif
#if defined(_WIN32) && defined(ASKS_QUERIES)
    Asker(module, "Init").Common();
#endif
}

void AfterPlay([[maybe_unused]] qel::InModule& module, [[maybe_unused]] const char* name) {
#if defined(_WIN32) && defined(ASKS_QUERIES)
    Asker asker(module, "Play");
    asker.Common();
    asker.Entries(name);
#endif
}

void DecodingStarted([[maybe_unused]] qel::InModule& module) {
#if defined(_WIN32) && defined(ASKS_QUERIES)
    // Answered once the host's thread handles messages again, after Play returned.
    DWORD_PTR playing = 0;
    SendMessageTimeoutA(static_cast<HWND>(module.hMainWindow), WM_USER, 0, 104, SMTO_NORMAL, 5000, &playing);
    Log("thread playing " + std::to_string(playing));
#endif
}

void Drained([[maybe_unused]] qel::InModule& module) {
#if defined(_WIN32) && defined(END_MESSAGE)
    Log("drained " + std::to_string(GetTickCount()));
    PostMessageA(static_cast<HWND>(module.hMainWindow), WM_USER + 2, 0, 0);
    PostMessageA(static_cast<HWND>(module.hMainWindow), WM_USER + 2, 0, 0);
#endif
}

}  // namespace testmodule
