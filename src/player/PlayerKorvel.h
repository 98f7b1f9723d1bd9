#pragma once
// The player component: plays one file at a time through an input and an
// output module, reports play time, finds the end of a file when polled,
// keeps volume, balance and the equalizer, and holds the information records
// of the current file.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/BinaryFile.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "player/EndOfFileGate.h"
#include "player/FileInfoDispatch.h"
#include "player/Settings.h"
#include "player/ioplug.h"

namespace qel {

class TPlayerKorvel;

// An event of the player; the sender is the player.
using PlayerEvent = std::function<void(TPlayerKorvel& sender)>;
// Queues a mark of a play change behind the modules' messages (EndOfFileGate).
using PlayMarkQueue = std::function<void(uint32_t mark)>;

// A time as last read from the module: milliseconds, whole seconds and
// whole minutes (divisions truncate toward zero).
struct TimeReading {
    int32_t ms = 0, seconds = 0, minutes = 0;
    void Set(int32_t milliseconds) {
        ms = milliseconds;
        seconds = ms / 1000;
        minutes = seconds / 60;
    }
    int32_t SecondsPastMinute() const { return seconds - 60 * minutes; }
};

// The last time read-outs and the end detection state. One set serves the
// whole library; it is never reset.
struct PlayTimes {
    TimeReading total, played;
    int32_t lastAdvance = 0;  // the position seen at the last tick that advanced
    int32_t stallTicks = 0;   // ticks since then
};
PlayTimes& LibraryTimes();

// What the player works through.
struct PlayerPorts {
    ModuleSlots& modules;
    IniFiles& ini;
    MessageBoxes& boxes;
    FileOpener& files;
    PlayTimes& times;
    std::string tempFolder;  // with its trailing separator
};
// The library's modules and times and the system's files, boxes and temporary folder.
PlayerPorts SystemPlayerPorts();

class TPlayerKorvel : public FileInfoDispatch {
public:
    // Opens "plkv.ini" in the temporary folder and reads the volume from it.
    explicit TPlayerKorvel(PlayerPorts ports = SystemPlayerPorts());
    TPlayerKorvel(const TPlayerKorvel&) = delete;
    TPlayerKorvel& operator=(const TPlayerKorvel&) = delete;

    // Published properties; the window sets them (these are its values).
    PlayerEvent On_timer;
    PlayerEvent On_endplay;
    PlayerEvent On_error;
    bool vieverror = true;
    std::string dllpath = "plugin\\";
    std::string outdll = "out_wave.dll";

    // Playback.
    bool OpenAndPlay(const std::string& file);
    bool StartPlay();
    void StopPlay();
    void TogglePause();
    // The window is gone, possibly while one of the player's message boxes
    // was up: stop, and from then on start nothing and report nothing.
    void Close();
    bool Closed() const { return closed_; }
    void SeekPercent(int32_t percent);
    int32_t PositionPercent();
    void SetVolumeLevel(int32_t volume);
    void SetBalance(int32_t pan);
    void ShowAbout(ModuleWindow window);
    void ShowConfig(ModuleWindow window);
    void ShowFileInfo(ModuleWindow window);
    void ShowInfoBoxFor(const std::string& file, ModuleWindow window);
    // One poll of the window's timer: fires On_timer, or On_endplay at the
    // end of the file.
    void Tick();
    // The input module's end-of-file message, taken from the queue: ends the
    // file as Tick's end rule does when it belongs to the file that plays now.
    void EndOfFileMessage();
    // True once the current play has ended by a message or the timer's rules.
    bool PlayEnded() const { return endGate_.HasEnded(); }
    // A mark that On_playchange queued came out of the queue.
    void PlayMarkReached(uint32_t mark) { endGate_.Reached(mark); }
    // Where the marks of play changes go; without it no message ends a file.
    PlayMarkQueue On_playchange;
    // On_error, the message box when vieverror is set, and CurrentFile cleared.
    void ReportError();
    // ModulePath := dllpath + the input module for the file's extension
    // (and, for MP3 and WAV, for TagType); false when there is none.
    bool ChooseModule(const std::string& file);

    // Time read-outs.
    int32_t TotalMinutes();
    int32_t TotalSeconds() const;
    int32_t PlayedMinutes();
    int32_t PlayedSeconds() const;
    std::string TotalTimeText();
    std::string PlayedTimeText();
    std::string TimesText();

    // Equalizer: bands are numbered 1 to 10.
    int32_t GetPreamp() const { return Preamp; }
    void SetPreamp(int32_t value);
    int32_t GetBand(int32_t n) const;
    // Stores the low byte of value as band n; false when n is not 1 to 10.
    bool SetBand(int32_t n, int32_t value);
    void ApplyBands(int32_t on, const std::array<uint8_t, 10>& values);
    void LoadEqualizer();
    void SaveEqualizer();

    // TagType, Sound and Tags come from FileInfoDispatch.
    std::string ModulePath;
    std::string CurrentFile;
    std::string ErrorText;
    int32_t Started = 0;     // 1 after a successful start, 0 after a stop
    int32_t PauseState = 0;  // 0 running, 1 paused, 2 stopped
    int32_t Volume = 50;     // percent
    std::array<uint8_t, 10> Bands;  // Bands[0] is band 1
    int32_t Preamp = 31;

    // The loaded input module's record, or null.
    InModule* InputModule() const { return ports_.modules.In(); }

    static constexpr int32_t kStallTicks = 20;

private:
    void SendEqualizer();  // EQSet ten times with on values 1..10
    void PlayChanged();    // a start, stop or seek: earlier end messages are stale
    void FireEnd();
    void ReportWriteError(const SettingsWriteError& error);
    std::string EqualizerPath() const;

    PlayerPorts ports_;
    bool closed_ = false;
    EndOfFileGate endGate_;
    ProfileFile SettingsFile;  // "plkv.ini", open for the player's lifetime
};

}  // namespace qel
