# Cross-compiling for 32-bit Windows with mingw-w64 (posix thread model): the product.
set(QEL_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
