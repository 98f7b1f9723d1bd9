# libjpeg for the Windows build: libjpeg-turbo from Debian's source package,
# fetched and cross-built into the build folder (nothing of it is committed).
# Gives the imported target qel_jpeg.
include(ExternalProject)

set(QEL_JPEG_ROOT ${CMAKE_BINARY_DIR}/libjpeg)
set(QEL_JPEG_INSTALL ${QEL_JPEG_ROOT}/install)
file(MAKE_DIRECTORY ${QEL_JPEG_INSTALL}/include)

ExternalProject_Add(libjpeg_turbo
  PREFIX ${QEL_JPEG_ROOT}
  SOURCE_DIR ${QEL_JPEG_ROOT}/source
  DOWNLOAD_COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/fetch-libjpeg-source ${QEL_JPEG_ROOT}/apt ${QEL_JPEG_ROOT}/source
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_INSTALL_PREFIX=${QEL_JPEG_INSTALL}
    -DCMAKE_INSTALL_LIBDIR=${QEL_JPEG_INSTALL}/lib
    -DCMAKE_INSTALL_INCLUDEDIR=${QEL_JPEG_INSTALL}/include
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF
    -DWITH_TURBOJPEG=OFF
    -DWITH_JAVA=OFF
    -DCMAKE_CROSSCOMPILING_EMULATOR=
  BUILD_BYPRODUCTS ${QEL_JPEG_INSTALL}/lib/libjpeg.a
  UPDATE_COMMAND ""
  LOG_DOWNLOAD ON
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_INSTALL ON
  LOG_OUTPUT_ON_FAILURE ON)

add_library(qel_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(qel_jpeg PROPERTIES
  IMPORTED_LOCATION ${QEL_JPEG_INSTALL}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${QEL_JPEG_INSTALL}/include)
add_dependencies(qel_jpeg libjpeg_turbo)
