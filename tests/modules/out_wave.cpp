// An output module for tests. It plays in real time without a sound device:
// a clock that stops while paused says how much has been played, and it takes
// at most half a second of samples ahead of that clock. What it receives is
// written to the WAV file named by QELTEST_OUT_WAV, or discarded when no file
// is named.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "ModuleLog.h"

using namespace qel;
using testmodule::Log;
using Clock = std::chrono::steady_clock;

namespace {

struct Output {
    std::mutex mutex;
    FILE* file = nullptr;
    int rate = 0, channels = 0, bits = 0;
    int64_t bytesPerSecond = 0;
    int64_t written = 0;     // bytes since the last open or flush
    int64_t fileBytes = 0;   // sample bytes in the file
    int baseMs = 0;          // position of the last flush
    Clock::time_point started;
    Clock::duration playedBefore{};  // play time before the last pause
    bool paused = false;
};
Output output;

void PutLE(FILE* f, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

void WriteHeader(Output& o) {
    std::fseek(o.file, 0, SEEK_SET);
    std::fwrite("RIFF", 1, 4, o.file);
    PutLE(o.file, static_cast<uint32_t>(36 + o.fileBytes), 4);
    std::fwrite("WAVEfmt ", 1, 8, o.file);
    PutLE(o.file, 16, 4);
    PutLE(o.file, 1, 2);
    PutLE(o.file, static_cast<uint32_t>(o.channels), 2);
    PutLE(o.file, static_cast<uint32_t>(o.rate), 4);
    PutLE(o.file, static_cast<uint32_t>(o.bytesPerSecond), 4);
    PutLE(o.file, static_cast<uint32_t>(o.channels * o.bits / 8), 2);
    PutLE(o.file, static_cast<uint32_t>(o.bits), 2);
    std::fwrite("data", 1, 4, o.file);
    PutLE(o.file, static_cast<uint32_t>(o.fileBytes), 4);
    std::fseek(o.file, 0, SEEK_END);
}

// Bytes the clock has played since the last open or flush.
int64_t PlayedBytes(const Output& o) {
    Clock::duration played = o.playedBefore + (o.paused ? Clock::duration{} : Clock::now() - o.started);
    int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(played).count();
    int64_t bytes = ms * o.bytesPerSecond / 1000;
    return std::min(bytes, o.written);
}

int64_t ToMs(const Output& o, int64_t bytes) { return o.bytesPerSecond ? bytes * 1000 / o.bytesPerSecond : 0; }

void RestartClock(Output& o) {
    o.started = Clock::now();
    o.playedBefore = {};
}

void QEL_CDECL Config(ModuleWindow) { Log("Config"); }
void QEL_CDECL About(ModuleWindow) { Log("About"); }
void QEL_CDECL Init() { Log("Init"); }
void QEL_CDECL Quit() { Log("Quit"); }

int QEL_CDECL Open(int rate, int channels, int bits, int, int) {
    Log("Open " + std::to_string(rate) + " " + std::to_string(channels) + " " + std::to_string(bits));
    std::lock_guard<std::mutex> lock(output.mutex);
    if (rate <= 0 || channels <= 0 || bits <= 0) return -1;
    output.rate = rate;
    output.channels = channels;
    output.bits = bits;
    output.bytesPerSecond = int64_t{rate} * channels * bits / 8;
    output.written = output.fileBytes = 0;
    output.baseMs = 0;
    output.paused = false;
    RestartClock(output);
    std::string path = testmodule::Env("QELTEST_OUT_WAV");
    if (!path.empty() && (output.file = std::fopen(path.c_str(), "wb+"))) WriteHeader(output);
    return 0;
}

void QEL_CDECL Close() {
    Log("Close");
    std::lock_guard<std::mutex> lock(output.mutex);
    if (output.file) {
        WriteHeader(output);
        std::fclose(output.file);
        output.file = nullptr;
    }
}

int QEL_CDECL Write(char* buffer, int length) {
    std::lock_guard<std::mutex> lock(output.mutex);
    if (length < 0) return 1;
    if (output.file) {
        std::fwrite(buffer, 1, static_cast<size_t>(length), output.file);
        output.fileBytes += length;
    }
    output.written += length;
    return 0;
}

int QEL_CDECL CanWrite() {
    std::lock_guard<std::mutex> lock(output.mutex);
    if (output.paused) return 0;
    int64_t ahead = output.written - PlayedBytes(output);
    return static_cast<int>(std::max<int64_t>(0, output.bytesPerSecond / 2 - ahead));
}

int QEL_CDECL IsPlaying() {
    std::lock_guard<std::mutex> lock(output.mutex);
    return PlayedBytes(output) < output.written;
}

int QEL_CDECL Pause(int pause) {
    Log("Pause " + std::to_string(pause));
    std::lock_guard<std::mutex> lock(output.mutex);
    bool previous = output.paused;
    if (pause && !previous) output.playedBefore += Clock::now() - output.started;
    if (!pause && previous) output.started = Clock::now();
    output.paused = pause != 0;
    return previous;
}

void QEL_CDECL SetVolume(int volume) { Log("SetVolume " + std::to_string(volume)); }
void QEL_CDECL SetPan(int pan) { Log("SetPan " + std::to_string(pan)); }

void QEL_CDECL Flush(int ms) {
    Log("Flush " + std::to_string(ms));
    std::lock_guard<std::mutex> lock(output.mutex);
    output.baseMs = ms;
    output.written = 0;
    RestartClock(output);
}

int QEL_CDECL GetOutputTime() {
    std::lock_guard<std::mutex> lock(output.mutex);
    return output.baseMs + static_cast<int>(ToMs(output, PlayedBytes(output)));
}

int QEL_CDECL GetWrittenTime() {
    std::lock_guard<std::mutex> lock(output.mutex);
    return output.baseMs + static_cast<int>(ToMs(output, output.written));
}

char description[] = "WAV file test output";

OutModule record = {kOutModuleVersion, description, 65536, nullptr, nullptr, Config, About, Init, Quit, Open,
                    Close, Write, CanWrite, IsPlaying, Pause, SetVolume, SetPan, Flush, GetOutputTime,
                    GetWrittenTime};

}  // namespace

MODULE_EXPORT OutModule* QEL_CDECL winampGetOutModule() { return &record; }
