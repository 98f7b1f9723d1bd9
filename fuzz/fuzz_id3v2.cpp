#include "FuzzInput.h"
#include "readers/ID3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto files = qel::fuzz::InputFiles(data, size, "in.mp3");
    qel::TID3v2 tag(files);
    tag.ReadTag("in.mp3");
    return 0;
}
