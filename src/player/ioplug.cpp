#include "player/ioplug.h"

namespace qel {
namespace {

// The callbacks handed to input modules. Modules call them from threads of
// their own at any time; they touch no state of this library.
void QEL_CDECL SAVSAInit(int, int) noexcept {}
void QEL_CDECL SAVSADeInit() noexcept {}
void QEL_CDECL SAAddPCMData(void*, int, int, int) noexcept {}
int QEL_CDECL SAGetMode() noexcept { return 0; }
void QEL_CDECL SAAdd(void*, int, int) noexcept {}
void QEL_CDECL VSAAddPCMData(void*, int, int, int) noexcept {}
int QEL_CDECL VSAGetMode(int*, int*) noexcept { return 0; }
void QEL_CDECL VSAAdd(void*, int) noexcept {}
void QEL_CDECL VSASetInfo(int, int) noexcept {}
int QEL_CDECL dsp_isactive() noexcept { return 0; }
int QEL_CDECL dsp_dosamples(short*, int sampleCount, int, int, int) noexcept { return sampleCount; }
void QEL_CDECL SetInfo(int, int, int, int) noexcept {}

const char kPreferredMp3Module[] = "in_mp3PRO.dll";
const char kFallbackMp3Module[] = "in_mp3.dll";

std::string NoFind(const std::string& what) { return " no find " + what + " "; }
std::string ErrorInit(const std::string& what) { return "error init " + what + " "; }

// The output module's volume scale: 0..100 percent becomes 0..250.
int ScaledVolume(int32_t volume) { return static_cast<int32_t>(int64_t{volume} * 25 / 10); }

}  // namespace

void InstallCallbacks(InModule& record) {
    record.SAVSAInit = SAVSAInit;
    record.SAVSADeInit = SAVSADeInit;
    record.SAAddPCMData = SAAddPCMData;
    record.SAGetMode = SAGetMode;
    record.SAAdd = SAAdd;
    record.VSAAddPCMData = VSAAddPCMData;
    record.VSAGetMode = VSAGetMode;
    record.VSAAdd = VSAAdd;
    record.VSASetInfo = VSASetInfo;
    record.dsp_isactive = dsp_isactive;
    record.dsp_dosamples = dsp_dosamples;
    record.SetInfo = SetInfo;
}

ModuleSlots::~ModuleSlots() { UnloadAll(); }

void ModuleSlots::UnloadAll() {
    UnloadInModule();
    UnloadOutModule();
}

bool ModuleSlots::LoadInModule(const std::string& path) {
    inGetter_ = nullptr;
    UnloadInModule();
    inLibrary_ = libraries_.Load(path);
    if (!inLibrary_) return false;
    inGetter_ = reinterpret_cast<InModuleGetter>(libraries_.Symbol(inLibrary_, kInModuleGetterName));
    return inGetter_ != nullptr;
}

bool ModuleSlots::LoadOutModule(const std::string& path) {
    outGetter_ = nullptr;
    UnloadOutModule();
    outLibrary_ = libraries_.Load(path);
    if (!outLibrary_) return false;
    outGetter_ = reinterpret_cast<OutModuleGetter>(libraries_.Symbol(outLibrary_, kOutModuleGetterName));
    return outGetter_ != nullptr;
}

// A module whose record we took has been initialised: it is told to quit
// (it saves its settings and ends its threads there) before its library goes.
void ModuleSlots::UnloadInModule() {
    inGetter_ = nullptr;
    if (in_ && in_->Quit) in_->Quit();
    // The record lives in the library: it goes with it.
    in_ = nullptr;
    if (inLibrary_) {
        libraries_.Free(inLibrary_);
        inLibrary_ = nullptr;
    }
}

void ModuleSlots::UnloadOutModule() {
    outGetter_ = nullptr;
    if (out_ && out_->Quit) out_->Quit();
    out_ = nullptr;
    if (outLibrary_) {
        libraries_.Free(outLibrary_);
        outLibrary_ = nullptr;
    }
}

bool ModuleSlots::LoadModules(ModuleRequest request) {
    if (!LoadInModule(request.modulePath)) {
        request.errorText += NoFind(request.modulePath);
        if (request.modulePath != request.dllpath + kPreferredMp3Module) return false;
        request.modulePath = request.dllpath + kFallbackMp3Module;
        if (!LoadInModule(request.modulePath)) {
            request.errorText += NoFind(request.modulePath);
            return false;
        }
    }

    in_ = inGetter_();
    if (!in_) {
        request.errorText = ErrorInit(request.modulePath);
        return false;
    }
    in_->hMainWindow = mainWindow_;
    in_->hDllInstance = inLibrary_;
    in_->outMod = out_;
    in_->Init();
    InstallCallbacks(*in_);

    if (!LoadOutModule(request.dllpath + request.outdll)) {
        // The previous output record went with its library.
        in_->outMod = nullptr;
        request.errorText = NoFind(request.outdll);
        return false;
    }
    out_ = outGetter_();
    if (!out_) {
        in_->outMod = nullptr;
        request.errorText = ErrorInit(request.outdll);
        return false;
    }
    out_->hMainWindow = mainWindow_;
    out_->hDllInstance = outLibrary_;
    out_->Init();
    out_->SetVolume(ScaledVolume(request.volume));
    in_->outMod = out_;
    return true;
}

ModuleSlots& LibraryModules() {
    // Never destroyed: at process exit the modules' threads are gone and their
    // libraries are being torn down, so nothing may call into them then. The
    // window's clean-up unloads them (UnloadAll) while the process goes on.
    static ModuleSlots& slots = *new ModuleSlots;
    return slots;
}

}  // namespace qel
