# The common part of the two mingw-w64 toolchain files, which set
# QEL_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR (posix thread model, for
# std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QEL_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Run test executables under Wine; the wrapper picks the Wine of the build's
# word size, the build's own prefix and a fixed locale.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
