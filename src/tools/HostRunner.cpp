#include "tools/HostRunner.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/CodePage.h"
#include "tools/PictureCapture.h"
#include "tools/PictureCheck.h"
#include "tools/ToneWav.h"

namespace qel::host {
namespace {

using Handler = bool (Runner::*)(const Action&);
constexpr Handler kHandlers[] = {
#define QEL_ACTION(word, arguments, usage, help) &Runner::word,
#include "tools/HostActions.inc"
#undef QEL_ACTION
};

// The plug-in's texts are in the system code page; qelhost prints UTF-8, as qelinfo does.
std::string Shown(const std::string& text) { return SystemToUtf8(text); }

int Int(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

// Splits "FIRST rest of the line" at the first blank.
std::pair<std::string, std::string> FirstWord(const std::string& text) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos) return {text, ""};
    return {text.substr(0, blank), text.substr(blank + 1)};
}

std::vector<std::string> SplitBars(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
    return parts;
}

std::optional<std::vector<uint8_t>> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return static_cast<bool>(out);
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

std::string Joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) out += (out.empty() ? "" : "|") + text;
    return out;
}

}  // namespace

Runner::Runner(Plugin& plugin, HostWindow& host, std::string screenshot)
    : plugin_(plugin), host_(host), screenshot_(std::move(screenshot)) {
    host_.OnTick([this] { dialogs_.Watch(); });
}

bool Runner::Run(const Action& a) {
    const bool goOn = (this->*kHandlers[a.kind])(a);
    for (const std::string& problem : dialogs_.TakeProblems()) Expect(a, false, problem);
    std::fflush(stdout);
    return goOn;
}

void Runner::Finish() {
    if (!host_.handle()) return;
    if (!screenshot_.empty()) {
        Pump(300);
        if (!SaveScreenshot(host_.handle(), screenshot_)) {
            std::printf("FAILED: cannot save the screenshot %s\n", screenshot_.c_str());
            ++failures_;
        }
    }
    host_.Destroy();
    Pump(100);
}

void Runner::Expect(const Action& a, bool holds, const std::string& actual) {
    if (holds) return;
    ++failures_;
    std::printf("FAILED line %d: %s %s (%s)\n", a.line, a.verb.c_str(), a.rest.c_str(), actual.c_str());
}

bool Runner::Stop(const Action& a, const std::string& reason) {
    std::printf("ERROR line %d: %s\n", a.line, reason.c_str());
    return false;
}

bool Runner::CallExport(const Action& a, Plugin::Command command, const std::string& name) {
    if (!command) return Stop(a, "no export \"" + name + "\"");
    command();
    return true;
}

// Plug-in entry points and the slots

bool Runner::parent(const Action&) {
    plugin_.SetParentWindow(host_.handle());
    return true;
}

bool Runner::draw(const Action& a) {
    plugin_.Draw(Int(a.args[0]), Int(a.args[1]), Int(a.args[2]), Int(a.args[3]), Int(a.args[4]));
    return true;
}

bool Runner::setdata(const Action& a) {
    plugin_.SetData(Int(a.args[0]));
    return true;
}

bool Runner::setfile(const Action& a) {
    plugin_.SetFile(a.rest.c_str());
    return true;
}

bool Runner::setpath(const Action& a) {
    plugin_.SetPath(a.rest.c_str());
    return true;
}

bool Runner::call(const Action& a) { return CallExport(a, plugin_.Export(a.args[0]), a.args[0]); }

bool Runner::callord(const Action& a) { return CallExport(a, plugin_.Export(Int(a.args[0])), a.args[0]); }

bool Runner::timecall(const Action& a) {
    const Plugin::Command command = plugin_.Export(a.args[0]);
    const double began = Milliseconds();
    if (!CallExport(a, command, a.args[0])) return false;
    std::printf("elapsed: %.0f ms\n", Milliseconds() - began);
    return true;
}

bool Runner::getdata(const Action&) {
    std::printf("data: %d\n", plugin_.GetData());
    return true;
}

bool Runner::getfile(const Action&) {
    std::printf("file: %s\n", Shown(plugin_.File()).c_str());
    return true;
}

bool Runner::fields(const Action& a) {
    for (const std::string& name : a.args) {
        if (!CallExport(a, plugin_.Export(name), name)) return false;
        std::printf("%s: %s\n", name.c_str(), Shown(plugin_.File()).c_str());
    }
    return true;
}

bool Runner::info(const Action&) {
    std::printf("type: %d\nshort: %s\ninfo: %s\ncopyright: %s\n", plugin_.GetType(),
                Shown(plugin_.GetShortInfo()).c_str(), Shown(plugin_.GetInfo()).c_str(),
                Shown(plugin_.Copyright()).c_str());
    return true;
}

bool Runner::print(const Action& a) {
    std::printf("%s\n", a.rest.c_str());
    return true;
}

bool Runner::expectdata(const Action& a) {
    Expect(a, plugin_.GetData() == Int(a.args[0]), "data is " + std::to_string(plugin_.GetData()));
    return true;
}

bool Runner::expectfile(const Action& a) {
    Expect(a, plugin_.File() == a.rest, "file is \"" + Shown(plugin_.File()) + "\"");
    return true;
}

bool Runner::expectfilehas(const Action& a) {
    Expect(a, plugin_.File().find(a.rest) != std::string::npos, "file is \"" + Shown(plugin_.File()) + "\"");
    return true;
}

// The message loop and the host window

bool Runner::wait(const Action& a) {
    Pump(DWORD(Int(a.args[0])));
    return true;
}

bool Runner::waitclick(const Action& a) {
    const int before = host_.clicks().ups;
    const bool came = Pump(DWORD(Int(a.args[0])), [&] { return host_.clicks().ups > before; });
    if (came) std::printf("click: %d %d\n", host_.clicks().lastX, host_.clicks().lastY);
    Expect(a, came, "no click within " + a.args[0] + " ms");
    return true;
}

bool Runner::expectclick(const Action& a) {
    const Clicks& c = host_.clicks();
    Expect(a, c.lastX == Int(a.args[0]) && c.lastY == Int(a.args[1]) && c.downs == c.ups,
           "last click at " + std::to_string(c.lastX) + " " + std::to_string(c.lastY));
    return true;
}

bool Runner::expectclicks(const Action& a) {
    Expect(a, host_.clicks().ups == Int(a.args[0]), std::to_string(host_.clicks().ups) + " clicks");
    return true;
}

bool Runner::expectclicklag(const Action& a) {
    const auto bytes = ReadBytes(a.args[1]);
    const std::string text = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    const size_t at = text.rfind(a.args[2] + " ");
    if (!host_.clicks().ups || at == std::string::npos) {
        Expect(a, false, host_.clicks().ups ? "no " + a.args[2] + " in " + a.args[1] : "no click");
        return true;
    }
    const DWORD since = static_cast<DWORD>(std::strtoul(text.c_str() + at + a.args[2].size() + 1, nullptr, 10));
    // Tick counts wrap: the difference of two is right across the wrap.
    const auto lag = static_cast<int32_t>(host_.clicks().lastTick - since);
    std::printf("lag: %d ms\n", static_cast<int>(lag));
    Expect(a, lag >= 0 && lag <= Int(a.args[0]), "the click came " + std::to_string(lag) + " ms after");
    return true;
}

bool Runner::screenshot(const Action& a) {
    Pump(200);
    Expect(a, host_.handle() && SaveScreenshot(host_.handle(), a.rest), "cannot save " + a.rest);
    return true;
}

bool Runner::expectpicture(const Action& a) {
    const auto bytes = ReadBytes(a.rest);
    Expect(a, bytes && PictureHasContent(*bytes), a.rest + " is missing or blank");
    return true;
}

bool Runner::destroy(const Action&) {
    Finish();
    return true;
}

bool Runner::destroyonclick(const Action&) {
    host_.DestroyOnClick();
    return true;
}

// After FreeLibrary no window of the plug-in may be left to reach its code:
// the host's own traffic, broadcasts and the messages modules send, post and
// time would otherwise run into unmapped memory and end the host.
bool Runner::unload(const Action& a) {
    FreeLibrary(plugin_.library);
    plugin_ = Plugin{};
    const DWORD start = GetTickCount();
    do {
        for (HWND window : ThreadWindows()) {
            for (UINT message : {UINT(WM_USER), UINT(WM_USER + 2), UINT(WM_APP + 1), UINT(WM_PAINT)})
                SendMessageA(window, message, 0, 0);
            PostMessageA(window, WM_TIMER, 1, 0);
        }
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, 100, &answer);
        PostMessageA(HWND_BROADCAST, WM_USER + 2, 0, 0);
        Pump(50);
    } while (GetTickCount() - start < DWORD(Int(a.args[0])));
    std::printf("unloaded: the host lives on\n");
    return true;
}

// Windows the plug-in opens

bool Runner::closeboxes(const Action&) {
    dialogs_.CloseBoxes();
    return true;
}

bool Runner::expectboxes(const Action& a) {
    const int count = static_cast<int>(dialogs_.boxes().size());
    Expect(a, count == Int(a.args[0]), std::to_string(count) + " boxes");
    return true;
}

bool Runner::expectbox(const Action& a) {
    const auto& boxes = dialogs_.boxes();
    const std::string last = boxes.empty() ? "" : boxes.back();
    Expect(a, !boxes.empty() && last.find(a.rest) != std::string::npos, "last message box \"" + Shown(last) + "\"");
    return true;
}

bool Runner::answerdialog(const Action& a) {
    dialogs_.Answer(a.rest);
    return true;
}

bool Runner::canceldialog(const Action&) {
    dialogs_.Cancel();
    return true;
}

bool Runner::listitems(const Action& a) {
    const auto texts = ListTexts();
    if (!texts) return Stop(a, "no list box");
    for (const std::string& text : *texts) std::printf("item: %s\n", Shown(text).c_str());
    return true;
}

bool Runner::expectitems(const Action& a) {
    const auto texts = ListTexts();
    Expect(a, texts && *texts == SplitBars(a.rest), texts ? "the list shows " + Shown(Joined(*texts)) : "no list box");
    return true;
}

bool Runner::waititem(const Action& a) {
    auto [wait, rest] = FirstWord(a.rest);
    auto [index, text] = FirstWord(rest);
    double longest = 0;
    const double began = Milliseconds();
    const bool came = Pump(DWORD(Int(wait)), [&, &text = text, &index = index] { return ListText(Int(index)) == text; },
                           &longest);
    std::printf("waited: %.0f ms, longest message: %.0f ms\n", Milliseconds() - began, longest);
    const auto shown = ListText(Int(index));
    Expect(a, came, shown ? "item " + index + " shows \"" + *shown + "\"" : "no item " + index);
    return true;
}

// Files

bool Runner::writelines(const Action& a) {
    auto [path, text] = FirstWord(a.rest);
    std::string bytes;
    for (const std::string& line : SplitBars(text)) bytes += line + "\r\n";
    return WriteBytes(path, bytes) || Stop(a, "cannot write " + path);
}

bool Runner::writelist(const Action& a) {
    const std::string& file = a.args[2];
    const std::string item = file.substr(file.find_last_of("\\/") + 1) + "\r\n" + file + "\r\n";
    std::string bytes;
    for (int i = 0; i < Int(a.args[1]); ++i) bytes += item;
    return WriteBytes(a.args[0], bytes) || Stop(a, "cannot write " + a.args[0]);
}

bool Runner::writewav(const Action& a) {
    const auto wav = ToneWav(Int(a.args[1]), Int(a.args[2]));
    return (wav && WriteBytes(a.args[0], std::string(wav->begin(), wav->end()))) ||
           Stop(a, "cannot write " + a.args[0]);
}

bool Runner::deletefile(const Action& a) {
    DeleteFileA(a.rest.c_str());
    return true;
}

bool Runner::expectbytes(const Action& a) {
    auto [path, hex] = FirstWord(a.rest);
    const auto bytes = ReadBytes(path);
    const std::string actual = bytes ? Hex(*bytes) : "";
    Expect(a, bytes && actual == hex, bytes ? "file holds " + actual : "no file " + path);
    return true;
}

bool Runner::expectexists(const Action& a) {
    Expect(a, GetFileAttributesA(a.rest.c_str()) != INVALID_FILE_ATTRIBUTES, "no file " + a.rest);
    return true;
}

bool Runner::expectnofile(const Action& a) {
    Expect(a, GetFileAttributesA(a.rest.c_str()) == INVALID_FILE_ATTRIBUTES, a.rest + " exists");
    return true;
}

bool Runner::expectcontains(const Action& a) {
    auto [path, text] = FirstWord(a.rest);
    const auto bytes = ReadBytes(path);
    Expect(a, bytes && std::string(bytes->begin(), bytes->end()).find(text) != std::string::npos,
           bytes ? "not in " + path : "no file " + path);
    return true;
}

bool Runner::expectlacks(const Action& a) {
    auto [path, text] = FirstWord(a.rest);
    const auto bytes = ReadBytes(path);
    Expect(a, bytes && std::string(bytes->begin(), bytes->end()).find(text) == std::string::npos,
           bytes ? "found in " + path : "no file " + path);
    return true;
}

}  // namespace qel::host
