#include "FuzzInput.h"
#include "readers/ID3v1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto files = qel::fuzz::InputFiles(data, size, "in.mp3");
    qel::TID3v1 tag(files);
    if (tag.ReadTag("in.mp3")) tag.GenreName();
    return 0;
}
