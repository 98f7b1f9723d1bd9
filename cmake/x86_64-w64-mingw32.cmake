# Cross-compiling for 64-bit Windows with mingw-w64 (posix thread model). This
# build exists for the tests: it runs under 64-bit Wine where the kernel runs
# no 32-bit programs. The product stays the 32-bit build.
set(QEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
