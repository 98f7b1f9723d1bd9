// A small library that a test module imports: it lies only in the module's
// own folder, as real modules' codec libraries do.
#include "ModuleLog.h"

MODULE_EXPORT int QEL_CDECL qelcodecVersion() { return 7; }
