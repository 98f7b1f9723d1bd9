# The Windows-only products: qelplugin.dll and qelhost.exe.

enable_language(ASM)

# The export directory, generated from the export table.
set(QEL_EXPORT_TABLE ${CMAKE_SOURCE_DIR}/src/host/ExportTable.inc)
set(QEL_EXPORTS_ASM ${CMAKE_BINARY_DIR}/generated/qelplugin_exports.S)
# 32-bit code names C functions with a leading underscore.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QEL_SYMBOL_PREFIX _)
else()
  set(QEL_SYMBOL_PREFIX "")
endif()
add_custom_command(
  OUTPUT ${QEL_EXPORTS_ASM}
  COMMAND ${CMAKE_COMMAND} -DTABLE=${QEL_EXPORT_TABLE} -DOUTPUT=${QEL_EXPORTS_ASM} -DLIBRARY=qelplugin.dll
          -DSYMBOL_PREFIX=${QEL_SYMBOL_PREFIX} -P ${CMAKE_SOURCE_DIR}/cmake/GenerateExports.cmake
  DEPENDS ${QEL_EXPORT_TABLE} ${CMAKE_SOURCE_DIR}/cmake/GenerateExports.cmake
  COMMENT "Generating the export directory of qelplugin.dll")

file(GLOB QEL_PLUGIN_SOURCES CONFIGURE_DEPENDS src/host/win32/*.cpp)
add_library(qelplugin SHARED ${QEL_PLUGIN_SOURCES} ${QEL_EXPORTS_ASM})
set_target_properties(qelplugin PROPERTIES PREFIX "" OUTPUT_NAME qelplugin
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(qelplugin PRIVATE qelcore)

add_executable(qelhost src/tools/qelhost.cpp src/tools/HostRunner.cpp src/tools/HostWindow.cpp
  src/tools/ThreadWindows.cpp src/tools/PictureCapture.cpp)
target_link_libraries(qelhost PRIVATE qelhostscript)
set_target_properties(qelhost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(qelhost qelplugin)
