// The player's equalizer: ten bands and a preamp, handed to the input module
// and kept in "KVeq.ini" in the temporary folder.
#include <string>

#include "player/PlayerKorvel.h"

namespace qel {
namespace {

const char kEqualizerFile[] = "KVeq.ini";
const char kEqualizerSection[] = "eqset";
const char kPreampKey[] = "preamp";
// "There is no equalizer settings file", Windows-1251; the last letter is a Latin "a".
const char kNoEqualizerFile[] =
    "\xCD\xE5\xF2 \xF4\xE0\xE9\xEB\xE0 \xED\xE0\xF1\xF2\xF0\xEE\xE5\xEA "
    "\xFD\xEA\xE2\xE0\xEB\xE0\xE9\xE7\xE5\xF0"
    "a";

bool IsBand(int32_t n) { return n >= 1 && n <= 10; }

}  // namespace

std::string TPlayerKorvel::EqualizerPath() const { return ports_.tempFolder + kEqualizerFile; }

void TPlayerKorvel::SendEqualizer() {
    InModule* in = InputModule();
    if (!in) return;
    for (int on = 1; on <= 10; ++on) {
        std::array<uint8_t, 10> copy = Bands;
        in->EQSet(on, reinterpret_cast<char*>(copy.data()), Preamp);
    }
}

void TPlayerKorvel::SetPreamp(int32_t value) {
    Preamp = value;
    SendEqualizer();
}

int32_t TPlayerKorvel::GetBand(int32_t n) const { return IsBand(n) ? Bands[n - 1] : 0; }

bool TPlayerKorvel::SetBand(int32_t n, int32_t value) {
    if (!IsBand(n)) return false;
    Bands[n - 1] = static_cast<uint8_t>(value);
    return true;
}

void TPlayerKorvel::ApplyBands(int32_t on, const std::array<uint8_t, 10>& values) {
    std::array<uint8_t, 10> copy = values;
    if (InModule* in = InputModule()) in->EQSet(on, reinterpret_cast<char*>(copy.data()), Preamp);
}

void TPlayerKorvel::LoadEqualizer() {
    const std::string path = EqualizerPath();
    if (!ports_.files.OpenRead(path, ShareMode::AllowWriters)) {
        ErrorText = kNoEqualizerFile;
        ReportError();
        return;
    }
    ProfileFile file(ports_.ini, path);
    for (int32_t n = 1; n <= 10; ++n)
        Bands[n - 1] = static_cast<uint8_t>(file.ReadInteger(kEqualizerSection, std::to_string(n), Bands[n - 1]));
    Preamp = file.ReadInteger(kEqualizerSection, kPreampKey, Preamp);
    SendEqualizer();
}

void TPlayerKorvel::SaveEqualizer() {
    ProfileFile file(ports_.ini, EqualizerPath());
    try {
        for (int32_t n = 1; n <= 10; ++n) file.WriteInteger(kEqualizerSection, std::to_string(n), Bands[n - 1]);
        file.WriteInteger(kEqualizerSection, kPreampKey, Preamp);
    } catch (const SettingsWriteError& error) {
        ReportWriteError(error);
    }
}

}  // namespace qel
