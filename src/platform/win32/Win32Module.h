#pragma once
// The module (DLL or program) this code is linked into, and its window classes.
#include <windows.h>

namespace qel {

HINSTANCE ThisModule();

// Registers a window class of this module unless it is registered already
// (a class is unregistered when the library lets its last window go).
void EnsureWindowClass(const char* name, WNDPROC procedure, UINT style = 0);

}  // namespace qel
