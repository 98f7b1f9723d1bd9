#pragma once
// What the variants built from in_wave.cpp do beyond playing PCM WAV files,
// the way real modules do. Each behaviour is switched on by a definition:
//   END_MESSAGE        after the output has played everything, logs
//                      "drained <tick>" and posts the end-of-file message to
//                      the main window, twice (which must end the file once)
//   LENGTH_ROUNDED_UP  reports a length 1 ms longer than the samples last, so
//                      the position never reaches it
//   WIDE_NAMES         says so in its version field and takes 16-bit names
//   ASKS_QUERIES       asks the main window every question at Init and at
//                      Play (and once from its decoding thread), logs the
//                      answers and checks the texts ("check ... FAILED")
//   IMPORTS_CODEC      imports a function of qelcodec.dll, a library that
//                      lies only beside it, and logs its answer at Init
// The messages exist on Windows only: elsewhere only the name and length
// behaviours apply.
#include <cstdio>
#include <string>

#include "player/ModuleRecords.h"

namespace testmodule {

constexpr int kVersion =
#if defined(WIDE_NAMES)
    qel::kInModuleVersion | qel::kInModuleWideNames;
#else
    qel::kInModuleVersion;
#endif

// A file name as the player passed it, as 8-bit text for the log.
std::string NameText(const char* name);
// Opens the named file for reading.
FILE* OpenNamed(const char* name);
// The length to report for samples lasting ms.
int ReportedLength(int ms);

void AfterInit(qel::InModule& module);
void AfterPlay(qel::InModule& module, const char* name);
void DecodingStarted(qel::InModule& module);
void Drained(qel::InModule& module);

}  // namespace testmodule
