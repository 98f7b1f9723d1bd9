#include "platform/win32/Win32Module.h"

namespace qel {

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

void EnsureWindowClass(const char* name, WNDPROC procedure, UINT style) {
    WNDCLASSA existing{};
    if (GetClassInfoA(ThisModule(), name, &existing)) return;
    WNDCLASSA type{};
    type.style = style;
    type.lpfnWndProc = procedure;
    type.hInstance = ThisModule();
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.lpszClassName = name;
    RegisterClassA(&type);
}

}  // namespace qel
