#pragma once
// The records through which input and output modules are driven. Modules
// return a pointer to their own static record; the layout is fixed by the
// modules' binary interface (default packing, C calling convention; the
// product is 32-bit, the 64-bit test build keeps the natural 64-bit layout).
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

// Modules read and write the records by offset. On the 32-bit target every
// member is one 4-byte slot. In 64-bit code pointers take 8 bytes, and the
// two ints after FileExtensions share one 8-byte slot.
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(void*) == 4 && sizeof(int) == 4);
constexpr std::size_t InSlot(int member) { return member * 4; }
constexpr std::size_t OutSlot(int member) { return member * 4; }
#elif defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(void*) == 8 && sizeof(int) == 4);
constexpr std::size_t InSlot(int member) { return member <= 5 ? member * 8 : member == 6 ? 44 : (member - 1) * 8; }
constexpr std::size_t OutSlot(int member) { return member * 8; }
#endif
#if defined(__i386__) || defined(_M_IX86) || defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(InModule) == InSlot(38));
static_assert(offsetof(InModule, hMainWindow) == InSlot(2));
static_assert(offsetof(InModule, hDllInstance) == InSlot(3));
static_assert(offsetof(InModule, is_seekable) == InSlot(5));
static_assert(offsetof(InModule, UsesOutputPlug) == InSlot(6));
static_assert(offsetof(InModule, Config) == InSlot(7));
static_assert(offsetof(InModule, Init) == InSlot(9));
static_assert(offsetof(InModule, InfoBox) == InSlot(12));
static_assert(offsetof(InModule, Play) == InSlot(14));
static_assert(offsetof(InModule, Stop) == InSlot(18));
static_assert(offsetof(InModule, GetLength) == InSlot(19));
static_assert(offsetof(InModule, SetPan) == InSlot(23));
static_assert(offsetof(InModule, SAVSAInit) == InSlot(24));
static_assert(offsetof(InModule, VSAGetMode) == InSlot(30));
static_assert(offsetof(InModule, dsp_isactive) == InSlot(33));
static_assert(offsetof(InModule, EQSet) == InSlot(35));
static_assert(offsetof(InModule, SetInfo) == InSlot(36));
static_assert(offsetof(InModule, outMod) == InSlot(37));
static_assert(sizeof(OutModule) == OutSlot(20));
static_assert(offsetof(OutModule, id) == OutSlot(2));
static_assert(offsetof(OutModule, hMainWindow) == OutSlot(3));
static_assert(offsetof(OutModule, hDllInstance) == OutSlot(4));
static_assert(offsetof(OutModule, Init) == OutSlot(7));
static_assert(offsetof(OutModule, Open) == OutSlot(9));
static_assert(offsetof(OutModule, Write) == OutSlot(11));
static_assert(offsetof(OutModule, SetVolume) == OutSlot(15));
static_assert(offsetof(OutModule, GetOutputTime) == OutSlot(18));
static_assert(offsetof(OutModule, GetWrittenTime) == OutSlot(19));
#endif

}  // namespace qel
