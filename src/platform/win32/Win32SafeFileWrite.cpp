// Atomic replacement: write a temporary file beside the target, flush it,
// then MoveFileExA with MOVEFILE_REPLACE_EXISTING.
#include <windows.h>

#include <algorithm>

#include "platform/SafeFileWrite.h"
#include "platform/win32/Win32Error.h"

namespace qel {
namespace {

bool Fail(std::string* reason, const std::string& what) {
    if (reason) *reason = what + ": " + LastErrorText();
    return false;
}

bool WriteAll(HANDLE file, std::string_view contents) {
    size_t done = 0;
    while (done < contents.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* reason) {
    const std::string temporary = path + ".saving";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(reason, "cannot create " + temporary);
    bool written = WriteAll(file, contents) && FlushFileBuffers(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temporary.c_str());
        SetLastError(error);
        return Fail(reason, "cannot write " + temporary);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileA(temporary.c_str());
        SetLastError(error);
        return Fail(reason, "cannot replace " + path);
    }
    return true;
}

}  // namespace qel
