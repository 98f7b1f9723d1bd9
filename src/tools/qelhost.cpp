// qelhost: a small host application for qelplugin.dll. It opens a window,
// loads the plug-in from its own folder, hands it the window and runs a
// script of host actions (README.md describes the words). It prints what it
// reads back and exits with 1 when an expectation failed, 2 when the script
// or the plug-in could not be used.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/HostScript.h"

namespace {

using namespace qel::host;

constexpr const char* kHostClass = "QelHostWindow";
constexpr const char* kFrameClass = "QelHostFrame";
constexpr UINT_PTR kBoxTimer = 7;

struct HostWindowState {
    int clicks = 0;          // button-up messages received
    int downs = 0;           // button-down messages received
    int lastX = -1, lastY = -1;
    bool closeBoxes = false;
    std::vector<std::string> boxes;  // texts of the message boxes closed
};
HostWindowState g_host;

BOOL CALLBACK CollectText(HWND child, LPARAM collected) {
    char kind[32] = {};
    GetClassNameA(child, kind, sizeof kind);
    if (lstrcmpiA(kind, "Static") == 0) {
        char buffer[1024] = {};
        GetWindowTextA(child, buffer, sizeof buffer);
        if (buffer[0]) *reinterpret_cast<std::string*>(collected) += buffer;
    }
    return TRUE;
}

BOOL CALLBACK CloseBox(HWND window, LPARAM) {
    char type[32] = {};
    GetClassNameA(window, type, sizeof type);
    if (std::string(type) != "#32770" || !IsWindowVisible(window)) return TRUE;
    std::string text;
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&text));
    g_host.boxes.push_back(text);
    std::printf("box: %s\n", text.c_str());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            ++g_host.downs;
            return 0;
        case WM_LBUTTONUP:
            ++g_host.clicks;
            g_host.lastX = static_cast<int16_t>(LOWORD(lParam));
            g_host.lastY = static_cast<int16_t>(HIWORD(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == kBoxTimer && g_host.closeBoxes) EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The plug-in's entry points and its exports by name.
struct Plugin {
    HMODULE library = nullptr;
    void(__cdecl* SetParentWindow)(HWND) = nullptr;
    void(__cdecl* Draw)(int32_t, int32_t, int32_t, int32_t, int32_t) = nullptr;
    void(__cdecl* SetPath)(const char*) = nullptr;
    void(__cdecl* SetFile)(const char*) = nullptr;
    const char*(__cdecl* GetFile)() = nullptr;
    int32_t(__cdecl* SetData)(int32_t) = nullptr;
    int32_t(__cdecl* GetData)() = nullptr;
    int32_t(__cdecl* GetType)() = nullptr;
    const char*(__cdecl* GetShortInfo)() = nullptr;
    const char*(__cdecl* GetInfo)() = nullptr;
    const char*(__cdecl* Copyright)() = nullptr;

    template <class F>
    bool Find(F& target, const char* name) {
        target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
        return target != nullptr;
    }
    bool Load(const std::string& path) {
        library = LoadLibraryA(path.c_str());
        return library && Find(SetParentWindow, "SetParentWindow") && Find(Draw, "Draw") &&
               Find(SetPath, "SetPath") && Find(SetFile, "SetFile") && Find(GetFile, "GetFile") &&
               Find(SetData, "SetData") && Find(GetData, "GetData") && Find(GetType, "GetType") &&
               Find(GetShortInfo, "GetShortInfo") && Find(GetInfo, "GetInfo") && Find(Copyright, "Copyright");
    }
    using Command = void(__cdecl*)();
    Command Export(const std::string& name) const {
        return reinterpret_cast<Command>(reinterpret_cast<void*>(GetProcAddress(library, name.c_str())));
    }
    Command Export(int ordinal) const {
        return reinterpret_cast<Command>(
            reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)))));
    }
    std::string File() const { return GetFile ? std::string(GetFile()) : std::string(); }
};

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

std::string ModuleFolder() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return Folder(buffer);
}

std::string TempPath() {
    char buffer[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, buffer);
    return buffer;
}

// Runs the message loop until the deadline or until done() holds.
template <class Done>
bool Pump(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        const DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
    }
}

// Splits "FIRST rest of the line" at the first blank.
std::pair<std::string, std::string> FirstWord(const std::string& text) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos) return {text, ""};
    return {text.substr(0, blank), text.substr(blank + 1)};
}

std::vector<uint8_t> ReadBytes(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char part[4];
    for (uint8_t b : bytes) {
        std::snprintf(part, sizeof part, "%s%02X", text.empty() ? "" : " ", b);
        text += part;
    }
    return text;
}

// A mono 16-bit PCM WAV file with a 440 Hz tone of the given length.
bool WriteToneWav(const std::string& path, int rate, int milliseconds) {
    if (rate <= 0 || rate > 192000 || milliseconds < 0 || milliseconds > 600000) return false;
    const uint32_t samples = uint32_t(int64_t(rate) * milliseconds / 1000);
    std::vector<uint8_t> bytes;
    auto put = [&bytes](uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    auto text = [&bytes](const char* word) { bytes.insert(bytes.end(), word, word + 4); };
    text("RIFF");
    put(36 + samples * 2, 4);
    text("WAVE");
    text("fmt ");
    put(16, 4);
    put(1, 2);             // PCM
    put(1, 2);             // mono
    put(uint32_t(rate), 4);
    put(uint32_t(rate) * 2, 4);
    put(2, 2);             // block
    put(16, 2);            // bits
    text("data");
    put(samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put(uint32_t(int16_t(8000 * std::sin(6.283185307179586 * 440.0 * i / rate))) & 0xFFFF, 2);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return static_cast<bool>(out);
}

// Saves the window's area of the screen as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
        const DWORD imageSize = stride * DWORD(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
        out.write(static_cast<const char*>(bits), imageSize);
        saved = static_cast<bool>(out);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

// A picture is blank when every pixel of it has the same colour.
bool PictureHasContent(const std::string& path) {
    bool found = false;
    const std::vector<uint8_t> bytes = ReadBytes(path, found);
    if (!found || bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t offset = bytes[10] | bytes[11] << 8 | bytes[12] << 16 | uint32_t(bytes[13]) << 24;
    std::set<uint32_t> colours;
    for (size_t i = offset; i + 2 < bytes.size() && colours.size() < 3; i += 3)
        colours.insert(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16);
    return colours.size() >= 2;
}

class Runner {
public:
    Runner(Plugin& plugin, HWND host, std::string screenshot)
        : plugin_(plugin), host_(host), screenshot_(std::move(screenshot)) {}

    int failures = 0;

    // False when the script cannot go on.
    bool Run(const Action& a) {
        const std::string& v = a.verb;
        if (v == "parent") {
            plugin_.SetParentWindow(host_);
        } else if (v == "draw") {
            plugin_.Draw(Int(a.args[0]), Int(a.args[1]), Int(a.args[2]), Int(a.args[3]), Int(a.args[4]));
        } else if (v == "setdata") {
            plugin_.SetData(Int(a.args[0]));
        } else if (v == "setfile") {
            plugin_.SetFile(a.rest.c_str());
        } else if (v == "setpath") {
            plugin_.SetPath(a.rest.c_str());
        } else if (v == "call" || v == "callord") {
            Plugin::Command command = v == "call" ? plugin_.Export(a.args[0]) : plugin_.Export(Int(a.args[0]));
            if (!command) return Stop(a, "no export \"" + a.args[0] + "\"");
            command();
        } else if (v == "getdata") {
            std::printf("data: %d\n", plugin_.GetData());
        } else if (v == "getfile") {
            std::printf("file: %s\n", plugin_.File().c_str());
        } else if (v == "expectdata") {
            Expect(a, plugin_.GetData() == Int(a.args[0]), "data is " + std::to_string(plugin_.GetData()));
        } else if (v == "expectfile") {
            Expect(a, plugin_.File() == a.rest, "file is \"" + plugin_.File() + "\"");
        } else if (v == "expectfilehas") {
            Expect(a, plugin_.File().find(a.rest) != std::string::npos, "file is \"" + plugin_.File() + "\"");
        } else if (v == "fields") {
            for (const std::string& name : a.args) {
                Plugin::Command command = plugin_.Export(name);
                if (!command) return Stop(a, "no export \"" + name + "\"");
                command();
                std::printf("%s: %s\n", name.c_str(), plugin_.File().c_str());
            }
        } else if (v == "print") {
            std::printf("%s\n", a.rest.c_str());
        } else if (v == "info") {
            std::printf("type: %d\nshort: %s\ninfo: %s\ncopyright: %s\n", plugin_.GetType(), plugin_.GetShortInfo(),
                        plugin_.GetInfo(), plugin_.Copyright());
        } else if (v == "wait") {
            Pump(DWORD(Int(a.args[0])), [] { return false; });
        } else if (v == "waitclick") {
            const int before = g_host.clicks;
            const bool came = Pump(DWORD(Int(a.args[0])), [before] { return g_host.clicks > before; });
            if (came) std::printf("click: %d %d\n", g_host.lastX, g_host.lastY);
            Expect(a, came, "no click within " + a.args[0] + " ms");
        } else if (v == "expectclick") {
            Expect(a, g_host.lastX == Int(a.args[0]) && g_host.lastY == Int(a.args[1]) && g_host.downs == g_host.clicks,
                   "last click at " + std::to_string(g_host.lastX) + " " + std::to_string(g_host.lastY));
        } else if (v == "closeboxes") {
            g_host.closeBoxes = true;
            SetTimer(host_, kBoxTimer, 100, nullptr);
        } else if (v == "expectbox") {
            const std::string last = g_host.boxes.empty() ? "" : g_host.boxes.back();
            Expect(a, !g_host.boxes.empty() && last.find(a.rest) != std::string::npos,
                   "last message box \"" + last + "\"");
        } else if (v == "expectbytes") {
            auto [path, hex] = FirstWord(a.rest);
            bool found = false;
            const std::string actual = Hex(ReadBytes(path, found));
            Expect(a, found && actual == hex, found ? "file holds " + actual : "no file " + path);
        } else if (v == "expectnofile" || v == "expectexists") {
            const bool exists = GetFileAttributesA(a.rest.c_str()) != INVALID_FILE_ATTRIBUTES;
            Expect(a, exists == (v == "expectexists"), exists ? a.rest + " exists" : "no file " + a.rest);
        } else if (v == "writelines") {
            auto [path, text] = FirstWord(a.rest);
            std::ofstream out(path, std::ios::binary);
            std::istringstream lines(text);
            for (std::string line; std::getline(lines, line, '|');) out << line << "\r\n";
            if (!out) return Stop(a, "cannot write " + path);
        } else if (v == "expectcontains") {
            auto [path, text] = FirstWord(a.rest);
            bool found = false;
            const std::vector<uint8_t> bytes = ReadBytes(path, found);
            const std::string contents(bytes.begin(), bytes.end());
            Expect(a, found && contents.find(text) != std::string::npos, found ? "not in " + path : "no file " + path);
        } else if (v == "deletefile") {
            DeleteFileA(a.rest.c_str());
        } else if (v == "writewav") {
            if (!WriteToneWav(a.args[0], Int(a.args[1]), Int(a.args[2]))) return Stop(a, "cannot write " + a.args[0]);
        } else if (v == "screenshot") {
            Pump(200, [] { return false; });
            Expect(a, SaveScreenshot(host_, a.rest), "cannot save " + a.rest);
        } else if (v == "expectpicture") {
            Expect(a, PictureHasContent(a.rest), a.rest + " is missing or blank");
        } else if (v == "destroy") {
            Finish();
        }
        std::fflush(stdout);
        return true;
    }

    // Takes the requested screenshot and destroys the host window (once).
    void Finish() {
        if (!IsWindow(host_)) return;
        if (!screenshot_.empty()) {
            Pump(300, [] { return false; });
            if (!SaveScreenshot(host_, screenshot_)) {
                std::printf("FAILED: cannot save the screenshot %s\n", screenshot_.c_str());
                ++failures;
            }
        }
        DestroyWindow(GetAncestor(host_, GA_ROOT));
        Pump(100, [] { return false; });
    }

private:
    static int Int(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

    void Expect(const Action& a, bool holds, const std::string& actual) {
        if (holds) return;
        ++failures;
        std::printf("FAILED line %d: %s %s (%s)\n", a.line, a.verb.c_str(), a.rest.c_str(), actual.c_str());
    }

    bool Stop(const Action& a, const std::string& reason) {
        std::printf("ERROR line %d: %s\n", a.line, reason.c_str());
        return false;
    }

    Plugin& plugin_;
    HWND host_;
    std::string screenshot_;
};

HWND CreateHostWindow(bool nested) {
    WNDCLASSA type{};
    type.lpfnWndProc = HostProcedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    type.lpszClassName = kHostClass;
    RegisterClassA(&type);
    type.lpszClassName = kFrameClass;
    type.lpfnWndProc = DefWindowProcA;
    RegisterClassA(&type);
    if (!nested)
        return CreateWindowExA(0, kHostClass, "qelhost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                               640, 480, nullptr, nullptr, type.hInstance, nullptr);
    HWND frame = CreateWindowExA(0, kFrameClass, "qelhost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20,
                                 20, 640, 480, nullptr, nullptr, type.hInstance, nullptr);
    return CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 10, 10, 600, 420, frame,
                           nullptr, type.hInstance, nullptr);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: qelhost [--screenshot FILE] [--nested] [--dll PATH] SCRIPT\n"
                 "  --screenshot FILE  save a picture of the host window before it is destroyed\n"
                 "  --nested           make the host window itself a child window\n"
                 "  --dll PATH         load the plug-in from PATH instead of qelhost's folder\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string screenshot, scriptPath, dll = ModuleFolder() + "qelplugin.dll";
    bool nested = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screenshot" && i + 1 < argc)
            screenshot = argv[++i];
        else if (arg == "--dll" && i + 1 < argc)
            dll = argv[++i];
        else if (arg == "--nested")
            nested = true;
        else if (!arg.empty() && arg[0] != '-' && scriptPath.empty())
            scriptPath = arg;
        else
            return Usage();
    }
    if (scriptPath.empty()) return Usage();

    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "qelhost: cannot read %s\n", scriptPath.c_str());
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::map<std::string, std::string> variables{
        {"TEMP", TempPath()}, {"HERE", Folder(scriptPath)}, {"EXE", ModuleFolder()}};
    std::string error;
    auto actions = ParseScript(text.str(), variables, error);
    if (!actions) {
        std::fprintf(stderr, "qelhost: %s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }

    Plugin plugin;
    if (!plugin.Load(dll)) {
        std::fprintf(stderr, "qelhost: cannot load the plug-in %s\n", dll.c_str());
        return 2;
    }
    HWND host = CreateHostWindow(nested);
    if (!host) {
        std::fprintf(stderr, "qelhost: cannot create the host window\n");
        return 2;
    }
    Runner runner(plugin, host, screenshot);
    for (const Action& action : *actions) {
        if (!runner.Run(action)) {
            runner.Finish();
            return 2;
        }
    }
    runner.Finish();
    std::printf(runner.failures ? "%d expectation(s) failed\n" : "all expectations held\n", runner.failures);
    return runner.failures ? 1 : 0;
}
