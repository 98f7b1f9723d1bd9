# Writes the DLL's export directory as an assembly source from the export
# table (src/host/ExportTable.inc). The directory is written here rather than
# through a module-definition file because the table exports five names at two
# ordinals each, which the GNU linker and dlltool do not accept.
#
#   cmake -DTABLE=ExportTable.inc -DOUTPUT=exports.S -DLIBRARY=qelplugin.dll
#         [-DSYMBOL_PREFIX=_] -P GenerateExports.cmake
#
# Every export points at the thunk `qelx_<name>`. 32-bit code gives C names a
# leading underscore in the object files (SYMBOL_PREFIX=_); 64-bit code does not.
if(NOT TABLE OR NOT OUTPUT OR NOT LIBRARY)
  message(FATAL_ERROR "GenerateExports: TABLE, OUTPUT and LIBRARY are required")
endif()

file(STRINGS "${TABLE}" rows REGEX "^QEL_[A-Z_]+\\(")
set(by_ordinal "")
set(name_rows "")
set(max_ordinal 0)
foreach(row IN LISTS rows)
  if(NOT row MATCHES "^QEL_[A-Z_]+\\(([A-Za-z0-9_]+), *([0-9]+)(, *([0-9]+))?")
    message(FATAL_ERROR "GenerateExports: cannot read the row '${row}'")
  endif()
  set(name ${CMAKE_MATCH_1})
  set(ordinals ${CMAKE_MATCH_2})
  if(CMAKE_MATCH_4 AND NOT CMAKE_MATCH_4 EQUAL 0)
    list(APPEND ordinals ${CMAKE_MATCH_4})
  endif()
  foreach(ordinal IN LISTS ordinals)
    if(DEFINED slot_${ordinal})
      message(FATAL_ERROR "GenerateExports: ordinal ${ordinal} given to ${slot_${ordinal}} and ${name}")
    endif()
    set(slot_${ordinal} ${name})
    if(ordinal GREATER max_ordinal)
      set(max_ordinal ${ordinal})
    endif()
    # A tab sorts below every name character, so a name sorts before its extensions.
    list(APPEND name_rows "${name}\t${ordinal}")
  endforeach()
endforeach()

# The loader finds names by binary search: the name table is in byte order.
list(SORT name_rows COMPARE STRING CASE SENSITIVE)
list(LENGTH name_rows name_count)

set(s "/* Generated from ${TABLE}; do not edit. */\n")
string(APPEND s "    .section .edata,\"dr\"\n    .p2align 2\n")
string(APPEND s "    .long 0, 0\n    .short 0, 0\n    .rva qel_dll_name\n")
string(APPEND s "    .long 1\n    .long ${max_ordinal}\n    .long ${name_count}\n")
string(APPEND s "    .rva qel_address_table, qel_name_table, qel_ordinal_table\n")
string(APPEND s "qel_address_table:\n")
foreach(ordinal RANGE 1 ${max_ordinal})
  if(DEFINED slot_${ordinal})
    string(APPEND s "    .rva ${SYMBOL_PREFIX}qelx_${slot_${ordinal}}\n")
  else()
    string(APPEND s "    .long 0\n")
  endif()
endforeach()
string(APPEND s "qel_name_table:\n")
set(index 0)
foreach(entry IN LISTS name_rows)
  string(APPEND s "    .rva qel_name_${index}\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND s "qel_ordinal_table:\n")
foreach(entry IN LISTS name_rows)
  string(REGEX REPLACE "^.*\t" "" ordinal "${entry}")
  math(EXPR ordinal "${ordinal} - 1")
  string(APPEND s "    .short ${ordinal}\n")
endforeach()
string(APPEND s "qel_dll_name:\n    .asciz \"${LIBRARY}\"\n")
set(index 0)
foreach(entry IN LISTS name_rows)
  string(REGEX REPLACE "\t.*$" "" name "${entry}")
  string(APPEND s "qel_name_${index}:\n    .asciz \"${name}\"\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.new" "${s}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
