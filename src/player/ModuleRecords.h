#pragma once
// The records through which input and output modules are driven. Modules
// return a pointer to their own static record; the layout is fixed by the
// modules' binary interface (32-bit, default packing, C calling convention).
#include <cstddef>

#if defined(_WIN32)
#define QEL_CDECL __cdecl
#elif defined(__i386__)
#define QEL_CDECL __attribute__((cdecl))
#else
#define QEL_CDECL
#endif

namespace qel {

using ModuleWindow = void*;    // a window handle
using ModuleInstance = void*;  // a library handle

struct OutModule;

struct InModule {
    int version;  // kInModuleVersion
    char* description;
    ModuleWindow hMainWindow;       // written before Init
    ModuleInstance hDllInstance;    // written before Init
    char* FileExtensions;
    int is_seekable;
    int UsesOutputPlug;
    void(QEL_CDECL* Config)(ModuleWindow parent);
    void(QEL_CDECL* About)(ModuleWindow parent);
    void(QEL_CDECL* Init)();
    void(QEL_CDECL* Quit)();
    void(QEL_CDECL* GetFileInfo)(char* file, char* title, int* lengthMs);
    int(QEL_CDECL* InfoBox)(char* file, ModuleWindow parent);
    int(QEL_CDECL* IsOurFile)(char* file);
    int(QEL_CDECL* Play)(char* file);  // 0 when playback started
    void(QEL_CDECL* Pause)();
    void(QEL_CDECL* UnPause)();
    int(QEL_CDECL* IsPaused)();
    void(QEL_CDECL* Stop)();
    int(QEL_CDECL* GetLength)();      // milliseconds
    int(QEL_CDECL* GetOutputTime)();  // milliseconds
    void(QEL_CDECL* SetOutputTime)(int timeMs);
    void(QEL_CDECL* SetVolume)(int volume);
    void(QEL_CDECL* SetPan)(int pan);
    // Visualisation and sample-processing callbacks, written after Init.
    void(QEL_CDECL* SAVSAInit)(int maxLatencyMs, int sampleRate);
    void(QEL_CDECL* SAVSADeInit)();
    void(QEL_CDECL* SAAddPCMData)(void* pcm, int channels, int bits, int timestamp);
    int(QEL_CDECL* SAGetMode)();
    void(QEL_CDECL* SAAdd)(void* data, int timestamp, int csa);
    void(QEL_CDECL* VSAAddPCMData)(void* pcm, int channels, int bits, int timestamp);
    int(QEL_CDECL* VSAGetMode)(int* spectrumChannels, int* waveChannels);
    void(QEL_CDECL* VSAAdd)(void* data, int timestamp);
    void(QEL_CDECL* VSASetInfo)(int a, int b);  // channels and rate, order varies
    int(QEL_CDECL* dsp_isactive)();
    int(QEL_CDECL* dsp_dosamples)(short* samples, int sampleCount, int bits, int channels, int sampleRate);
    void(QEL_CDECL* EQSet)(int on, char bands[10], int preamp);
    void(QEL_CDECL* SetInfo)(int bitrate, int sampleRate, int stereo, int synched);
    OutModule* outMod;
};

struct OutModule {
    int version;  // kOutModuleVersion
    char* description;
    int id;
    ModuleWindow hMainWindow;     // written before Init
    ModuleInstance hDllInstance;  // written before Init
    void(QEL_CDECL* Config)(ModuleWindow parent);
    void(QEL_CDECL* About)(ModuleWindow parent);
    void(QEL_CDECL* Init)();
    void(QEL_CDECL* Quit)();
    // Negative on failure, else the latency in milliseconds.
    int(QEL_CDECL* Open)(int sampleRate, int channels, int bits, int bufferMs, int prebufferMs);
    void(QEL_CDECL* Close)();
    int(QEL_CDECL* Write)(char* buffer, int length);  // 0 accepted, 1 not yet
    int(QEL_CDECL* CanWrite)();                       // bytes writable now
    int(QEL_CDECL* IsPlaying)();
    int(QEL_CDECL* Pause)(int pause);  // returns the previous state
    void(QEL_CDECL* SetVolume)(int volume);
    void(QEL_CDECL* SetPan)(int pan);
    void(QEL_CDECL* Flush)(int timeMs);
    int(QEL_CDECL* GetOutputTime)();
    int(QEL_CDECL* GetWrittenTime)();
};

constexpr int kInModuleVersion = 0x100;
constexpr int kOutModuleVersion = 0x10;
// Flags in an input module's version field: the module takes 16-bit file
// names in Play, IsOurFile, GetFileInfo and InfoBox (and writes a 16-bit
// title in GetFileInfo).
constexpr int kInModuleWideNames = 0x0F000000;
inline bool TakesWideNames(const InModule& module) {
    return (module.version & kInModuleWideNames) == kInModuleWideNames;
}

// Messages modules send or post to the main window they were given.
constexpr unsigned kModuleQueryMessage = 0x400;      // sent: data, query id; the answer is the result
constexpr unsigned kModuleEndOfFileMessage = 0x402;  // posted once the output has played everything

// The getters each module library exports under these names.
using InModuleGetter = InModule*(QEL_CDECL*)();
using OutModuleGetter = OutModule*(QEL_CDECL*)();
constexpr const char kInModuleGetterName[] = "winampGetInModule2";
constexpr const char kOutModuleGetterName[] = "winampGetOutModule";

// Modules read and write the records by offset: on the 32-bit target every
// member is one 4-byte slot.
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(void*) == 4 && sizeof(int) == 4);
static_assert(sizeof(InModule) == 152);
static_assert(offsetof(InModule, hMainWindow) == 2 * 4);
static_assert(offsetof(InModule, hDllInstance) == 3 * 4);
static_assert(offsetof(InModule, Config) == 7 * 4);
static_assert(offsetof(InModule, Init) == 9 * 4);
static_assert(offsetof(InModule, InfoBox) == 12 * 4);
static_assert(offsetof(InModule, Play) == 14 * 4);
static_assert(offsetof(InModule, Stop) == 18 * 4);
static_assert(offsetof(InModule, GetLength) == 19 * 4);
static_assert(offsetof(InModule, SetPan) == 23 * 4);
static_assert(offsetof(InModule, SAVSAInit) == 24 * 4);
static_assert(offsetof(InModule, VSAGetMode) == 30 * 4);
static_assert(offsetof(InModule, dsp_isactive) == 33 * 4);
static_assert(offsetof(InModule, EQSet) == 35 * 4);
static_assert(offsetof(InModule, SetInfo) == 36 * 4);
static_assert(offsetof(InModule, outMod) == 37 * 4);
static_assert(sizeof(OutModule) == 80);
static_assert(offsetof(OutModule, id) == 2 * 4);
static_assert(offsetof(OutModule, hMainWindow) == 3 * 4);
static_assert(offsetof(OutModule, hDllInstance) == 4 * 4);
static_assert(offsetof(OutModule, Init) == 7 * 4);
static_assert(offsetof(OutModule, Open) == 9 * 4);
static_assert(offsetof(OutModule, Write) == 11 * 4);
static_assert(offsetof(OutModule, SetVolume) == 15 * 4);
static_assert(offsetof(OutModule, GetOutputTime) == 18 * 4);
static_assert(offsetof(OutModule, GetWrittenTime) == 19 * 4);
#endif

}  // namespace qel
