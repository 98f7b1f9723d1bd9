// A PCM WAV input module for tests. Play opens the file, opens the output
// module and returns at once; a thread of its own feeds the samples to the
// output module at the pace the output accepts them. Position comes from the
// output module, length from the file's header. Variants built from this file
// add what real modules do (Behaviours.h).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Behaviours.h"
#include "ModuleLog.h"

using namespace qel;
using testmodule::Log;
using testmodule::NameText;

namespace {

struct WavFormat {
    int channels = 0, rate = 0, bits = 0, blockAlign = 0;
    int64_t dataOffset = 0, dataBytes = 0;
};

uint32_t LE32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t LE16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

// Walks the chunks of a RIFF WAVE file; false unless it holds PCM samples.
bool ReadWavFormat(FILE* f, WavFormat& w) {
    std::fseek(f, 0, SEEK_END);
    const int64_t size = std::ftell(f);
    unsigned char head[12];
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(head, 1, 12, f) != 12 || std::memcmp(head, "RIFF", 4) || std::memcmp(head + 8, "WAVE", 4))
        return false;
    bool haveFormat = false;
    int64_t pos = 12;
    while (pos + 8 <= size) {
        unsigned char chunk[8];
        std::fseek(f, static_cast<long>(pos), SEEK_SET);
        if (std::fread(chunk, 1, 8, f) != 8) return false;
        const int64_t length = LE32(chunk + 4);
        if (!std::memcmp(chunk, "fmt ", 4)) {
            unsigned char fmt[16];
            if (length < 16 || std::fread(fmt, 1, 16, f) != 16) return false;
            w.channels = LE16(fmt + 2);
            w.rate = static_cast<int>(LE32(fmt + 4));
            w.blockAlign = LE16(fmt + 12);
            w.bits = LE16(fmt + 14);
            haveFormat = LE16(fmt) == 1 && w.channels >= 1 && w.channels <= 8 && w.rate > 0 && w.rate <= 384000 &&
                         (w.bits == 8 || w.bits == 16 || w.bits == 24 || w.bits == 32) &&
                         w.blockAlign == w.channels * w.bits / 8;
        } else if (!std::memcmp(chunk, "data", 4)) {
            w.dataOffset = pos + 8;
            w.dataBytes = std::min(length, size - w.dataOffset);
            w.dataBytes -= w.dataBytes % (w.blockAlign > 0 ? w.blockAlign : 1);
            return haveFormat;
        }
        pos += 8 + length + (length & 1);
    }
    return false;
}

InModule* Self();

struct Playback {
    FILE* file = nullptr;
    WavFormat format;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<int> seekTo{-1};
    std::atomic<bool> finished{false};
    // Unloaded while playing: a module unloaded without Stop must not take
    // the process down with it.
    ~Playback() {
        if (!thread.joinable()) return;
        stop = true;
#if defined(_WIN32)
        thread.detach();  // joining under the loader lock would never return
#else
        thread.join();
#endif
    }
};
Playback playback;

int64_t BytesToMs(int64_t bytes) {
    const int64_t rate = int64_t{playback.format.rate} * playback.format.blockAlign;
    return rate > 0 ? bytes * 1000 / rate : 0;
}

void Feed() {
    InModule& in = *Self();
    OutModule& out = *in.outMod;
    const WavFormat& w = playback.format;
    const int64_t chunk = int64_t{576} * w.blockAlign;
    std::vector<char> buffer(static_cast<size_t>(chunk));
    int64_t done = 0;
    testmodule::DecodingStarted(in);
    std::fseek(playback.file, static_cast<long>(w.dataOffset), SEEK_SET);
    while (!playback.stop) {
        int seek = playback.seekTo.exchange(-1);
        if (seek >= 0) {
            done = std::min(w.dataBytes, int64_t{seek} * w.rate / 1000 * w.blockAlign);
            std::fseek(playback.file, static_cast<long>(w.dataOffset + done), SEEK_SET);
            out.Flush(static_cast<int>(BytesToMs(done)));
        }
        const int64_t n = std::min(chunk, w.dataBytes - done);
        if (n <= 0) break;
        if (out.CanWrite() < n) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (std::fread(buffer.data(), 1, static_cast<size_t>(n), playback.file) != static_cast<size_t>(n)) break;
        const int samples = static_cast<int>(n / w.blockAlign);
        const int timestamp = static_cast<int>(BytesToMs(done));
        in.SAAddPCMData(buffer.data(), w.channels, w.bits, timestamp);
        in.VSAAddPCMData(buffer.data(), w.channels, w.bits, timestamp);
        int count = samples;
        if (in.dsp_isactive())
            count = in.dsp_dosamples(reinterpret_cast<short*>(buffer.data()), samples, w.bits, w.channels, w.rate);
        out.Write(buffer.data(), static_cast<int>(int64_t{count} * w.blockAlign));
        done += n;
    }
    while (!playback.stop && out.IsPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!playback.stop) {
        playback.finished = true;
        Log("end");
        testmodule::Drained(in);
    }
}

void EndPlayback() {
    if (playback.thread.joinable()) {
        playback.stop = true;
        playback.thread.join();
    }
    if (playback.file) {
        std::fclose(playback.file);
        playback.file = nullptr;
        if (Self()->outMod) Self()->outMod->Close();
    }
}

void QEL_CDECL Config(ModuleWindow) { Log("Config"); }
void QEL_CDECL About(ModuleWindow) { Log("About"); }
void QEL_CDECL Init() {
    Log("Init");
    testmodule::AfterInit(*Self());
}
void QEL_CDECL Quit() { Log("Quit"); }
void QEL_CDECL GetFileInfo(char*, char*, int*) {}
int QEL_CDECL InfoBox(char* file, ModuleWindow) {
    Log("InfoBox " + NameText(file));
    return 0;
}
int QEL_CDECL IsOurFile(char*) { return 0; }

int QEL_CDECL Play(char* file) {
    EndPlayback();
    InModule& in = *Self();
    testmodule::AfterPlay(in, NameText(file).c_str());
    playback.file = testmodule::OpenNamed(file);
    if (!playback.file) {
        Log("Play " + NameText(file) + " -1");
        return -1;
    }
    WavFormat w;
    if (!ReadWavFormat(playback.file, w) || !in.outMod) {
        std::fclose(playback.file);
        playback.file = nullptr;
        Log("Play " + NameText(file) + " 1");
        return 1;
    }
    playback.format = w;
    if (in.outMod->Open(w.rate, w.channels, w.bits, -1, -1) < 0) {
        std::fclose(playback.file);
        playback.file = nullptr;
        Log("Play " + NameText(file) + " 2");
        return 2;
    }
    in.SAVSAInit(0, w.rate);
    in.VSASetInfo(w.rate, w.channels);
    in.SetInfo(w.rate * w.blockAlign * 8 / 1000, w.rate / 1000, w.channels, 1);
    playback.stop = false;
    playback.finished = false;
    playback.seekTo = -1;
    playback.thread = std::thread(Feed);
    Log("Play " + NameText(file) + " 0");
    return 0;
}

void QEL_CDECL Pause() {
    Log("Pause");
    if (Self()->outMod) Self()->outMod->Pause(1);
}
void QEL_CDECL UnPause() {
    Log("UnPause");
    if (Self()->outMod) Self()->outMod->Pause(0);
}
int QEL_CDECL IsPaused() { return 0; }
void QEL_CDECL Stop() {
    Log("Stop");
    EndPlayback();
    Self()->SAVSADeInit();
}
int QEL_CDECL GetLength() {
    return testmodule::ReportedLength(static_cast<int>(BytesToMs(playback.format.dataBytes)));
}
int QEL_CDECL GetOutputTime() { return playback.file && Self()->outMod ? Self()->outMod->GetOutputTime() : 0; }
void QEL_CDECL SetOutputTime(int ms) {
    Log("SetOutputTime " + std::to_string(ms));
    playback.seekTo = ms < 0 ? 0 : ms;
}
void QEL_CDECL SetVolume(int volume) {
    Log("SetVolume " + std::to_string(volume));
    if (Self()->outMod) Self()->outMod->SetVolume(volume);
}
void QEL_CDECL SetPan(int pan) {
    Log("SetPan " + std::to_string(pan));
    if (Self()->outMod) Self()->outMod->SetPan(pan);
}
void QEL_CDECL EQSet(int on, char bands[10], int preamp) {
    std::string text = "EQSet " + std::to_string(on);
    for (int i = 0; i < 10; ++i) {
        text += i ? ',' : ' ';
        text += std::to_string(static_cast<unsigned char>(bands[i]));
    }
    Log(text + " " + std::to_string(preamp));
}

char description[] = "PCM WAV test input";
char extensions[] = "WAV\0PCM WAV files\0";

InModule record = {
    testmodule::kVersion, description, nullptr, nullptr, extensions, 1, 1, Config, About, Init, Quit, GetFileInfo,
    InfoBox, IsOurFile, Play, Pause, UnPause, IsPaused, Stop, GetLength, GetOutputTime, SetOutputTime,
    SetVolume, SetPan, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, EQSet, nullptr, nullptr};

InModule* Self() { return &record; }

}  // namespace

MODULE_EXPORT InModule* QEL_CDECL winampGetInModule2() { return &record; }
