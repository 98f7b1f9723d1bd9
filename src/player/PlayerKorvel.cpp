#include "player/PlayerKorvel.h"

#include <cstdio>
#include <vector>

#include "platform/TempFolder.h"
#include "player/InputModules.h"
#include "player/ModuleFileName.h"

namespace qel {
namespace {

const char kPlayerSettings[] = "plkv.ini";
const char kPlayerSection[] = "pl_param";
const char kVolumeKey[] = "vol";
const int32_t kDefaultVolume = 50;

// 32-bit results of wider intermediate arithmetic, cut like the module's int.
int32_t Cut32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

// A time read-out field: decimal, with a "0" in front of anything below 10.
std::string TimePart(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, value <= 9 ? "0%d" : "%d", static_cast<int>(value));
    return text;
}

void Fire(const PlayerEvent& event, TPlayerKorvel& sender) {
    if (event) event(sender);
}

}  // namespace

PlayTimes& LibraryTimes() {
    static PlayTimes times;
    return times;
}

PlayerPorts SystemPlayerPorts() {
    return PlayerPorts{LibraryModules(), SystemIniFiles(), SystemMessageBoxes(), SystemFiles(), LibraryTimes(),
                       TempFolder()};
}

TPlayerKorvel::TPlayerKorvel(PlayerPorts ports)
    : FileInfoDispatch(ports.files), ports_(std::move(ports)),
      SettingsFile(ports_.ini, ports_.tempFolder + kPlayerSettings) {
    Bands.fill(31);
    int32_t stored = SettingsFile.ReadInteger(kPlayerSection, kVolumeKey, 0);
    Volume = stored > 0 ? stored : kDefaultVolume;
}

bool TPlayerKorvel::OpenAndPlay(const std::string& file) {
    if (closed_) return false;
    ErrorText.clear();
    if (Started == 1) {
        if (InModule* in = InputModule()) in->Stop();
        Started = 0;
        PlayChanged();
    }
    if (file == CurrentFile) {
        if (StartPlay()) return true;
        ReportError();
        return false;
    }
    ModulePath.clear();
    TagType.clear();
    ReadFileInfo(file);
    if (ChooseModule(file)) {
        CurrentFile = file;
        PauseState = 2;
        if (!ports_.modules.LoadModules({ModulePath, dllpath, outdll, Volume, ErrorText})) {
            ReportError();
        } else if (!StartPlay()) {
            ReportError();
        } else {
            return true;
        }
    }
    ErrorText += "Unknown file format " + file + " ";
    ReportError();
    return false;
}

bool TPlayerKorvel::StartPlay() {
    InModule* in = InputModule();
    if (closed_ || CurrentFile.empty() || !in) return false;
    int result;
    // An end message the module posts from now on, even before Play returns, is of this play.
    PlayChanged();
    try {
        ModuleFileName name(*in, CurrentFile);
        result = in->Play(name.get());
    } catch (...) {
        return false;
    }
    if (result != 0) {
        ErrorText += "error file play";
        return false;
    }
    Started = 1;
    PauseState = 0;
    return true;
}

void TPlayerKorvel::StopPlay() {
    if (Started == 1) {
        if (InModule* in = InputModule()) in->Stop();
        Started = 0;
        PlayChanged();
    }
    PauseState = 2;
}

void TPlayerKorvel::TogglePause() {
    InModule* in = InputModule();
    if (!in) return;
    if (PauseState == 0) {
        in->Pause();
        PauseState = 1;
    } else if (PauseState == 1) {
        in->UnPause();
        PauseState = 0;
    }
}

void TPlayerKorvel::SeekPercent(int32_t percent) {
    InModule* in = InputModule();
    if (!in || CurrentFile.empty()) return;
    in->SetOutputTime(Cut32(int64_t{in->GetLength() / 100} * percent));
    PlayChanged();
}

int32_t TPlayerKorvel::PositionPercent() {
    InModule* in = InputModule();
    if (Started != 1 || !in) return 0;
    int32_t position = in->GetOutputTime();
    int32_t hundredth = in->GetLength() / 100;
    // Lengths below 100 ms, unknown or zero, have no percentage.
    if (hundredth == 0) return 0;
    return Cut32(int64_t{position} / hundredth);
}

void TPlayerKorvel::SetVolumeLevel(int32_t volume) {
    Volume = volume;
    try {
        SettingsFile.WriteInteger(kPlayerSection, kVolumeKey, volume);
    } catch (const SettingsWriteError& error) {
        ReportWriteError(error);
    }
    if (Started == 1)
        if (InModule* in = InputModule()) in->SetVolume(Cut32(int64_t{volume} * 25 / 10));
}

void TPlayerKorvel::SetBalance(int32_t pan) {
    if (Started == 1)
        if (InModule* in = InputModule()) in->SetPan(pan);
}

void TPlayerKorvel::ShowAbout(ModuleWindow window) {
    if (InModule* in = InputModule()) in->About(window);
}

void TPlayerKorvel::ShowConfig(ModuleWindow window) {
    if (InModule* in = InputModule()) in->Config(window);
}

void TPlayerKorvel::ShowFileInfo(ModuleWindow window) {
    if (!CurrentFile.empty()) ShowInfoBoxFor(CurrentFile, window);
}

void TPlayerKorvel::ShowInfoBoxFor(const std::string& file, ModuleWindow window) {
    if (InModule* in = InputModule()) {
        ModuleFileName name(*in, file);
        in->InfoBox(name.get(), window);
    }
}

void TPlayerKorvel::Tick() {
    InModule* in = InputModule();
    int32_t position = in ? in->GetOutputTime() : 0;
    int32_t length = in ? in->GetLength() : 0;
    PlayTimes& t = ports_.times;
    if (position != t.lastAdvance && position > 0) {
        t.lastAdvance = position;
        t.stallTicks = 0;
    } else if (t.stallTicks <= kStallTicks) {
        ++t.stallTicks;  // counting further changes nothing
    }
    if (position < length && t.stallTicks <= kStallTicks) {
        Fire(On_timer, *this);
    } else if (Started == 1 && PauseState == 0) {
        FireEnd();
    } else {
        Fire(On_timer, *this);
    }
}

void TPlayerKorvel::EndOfFileMessage() {
    // A paused or stopped play is not ended, as Tick's rule does not end it.
    if (endGate_.Belongs() && Started == 1 && PauseState == 0) FireEnd();
}

void TPlayerKorvel::FireEnd() {
    endGate_.MarkEnded();
    Fire(On_endplay, *this);
}

void TPlayerKorvel::PlayChanged() {
    const uint32_t mark = endGate_.Change();
    if (On_playchange) On_playchange(mark);
}

void TPlayerKorvel::Close() {
    StopPlay();
    closed_ = true;
}

void TPlayerKorvel::ReportError() {
    if (closed_) return;
    Fire(On_error, *this);
    if (vieverror) ports_.boxes.ShowError(ErrorText);
    CurrentFile.clear();
}

void TPlayerKorvel::ReportWriteError(const SettingsWriteError& error) {
    ErrorText = error.what();
    Fire(On_error, *this);
    if (vieverror) ports_.boxes.ShowError(ErrorText);
}

bool TPlayerKorvel::ChooseModule(const std::string& file) {
    std::string module = InputModuleFor(LowerExtension(file), TagType);
    ModulePath = module.empty() ? std::string() : dllpath + module;
    return !ModulePath.empty();
}

int32_t TPlayerKorvel::TotalMinutes() {
    InModule* in = InputModule();
    if (in && !CurrentFile.empty()) ports_.times.total.Set(in->GetLength());
    return ports_.times.total.minutes;
}

int32_t TPlayerKorvel::TotalSeconds() const { return ports_.times.total.SecondsPastMinute(); }

int32_t TPlayerKorvel::PlayedMinutes() {
    InModule* in = InputModule();
    if (Started == 1 && in) ports_.times.played.Set(in->GetOutputTime());
    return ports_.times.played.minutes;
}

int32_t TPlayerKorvel::PlayedSeconds() const { return ports_.times.played.SecondsPastMinute(); }

std::string TPlayerKorvel::TotalTimeText() {
    if (Started != 1) return "00:00";
    int32_t minutes = TotalMinutes();
    return TimePart(minutes) + ":" + TimePart(TotalSeconds());
}

std::string TPlayerKorvel::PlayedTimeText() {
    if (Started != 1) return "00:00";
    int32_t minutes = PlayedMinutes();
    return TimePart(minutes) + ":" + TimePart(PlayedSeconds());
}

std::string TPlayerKorvel::TimesText() {
    InModule* in = InputModule();
    if (!in) return "0--0";
    int32_t position = in->GetOutputTime();
    return std::to_string(position) + "--" + std::to_string(in->GetLength());
}

}  // namespace qel
