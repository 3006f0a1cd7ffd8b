# cmake -DFILE=<dll or exe> -DOBJDUMP=<objdump> [-DOBJCOPY=<objcopy> -DIDENTIFICATION=<text>]
#       [-DEXPORTS=<name;...>] [-DMICROSOFT_NAMES=ON] -P KovoCheckPeBinary.cmake
#
# Checks a Windows binary with the toolchain's objdump: it needs no DLL but the
# system's own and the two stand-in libraries (so no compiler runtime has to be
# shipped); when EXPORTS is given, its export table names exactly those; when
# IDENTIFICATION is given, that text lies in its constant data (.rdata), not
# merely in debug information; with MICROSOFT_NAMES, every name it imports from
# the two libraries is a Microsoft C++ name ("?..."), as the facility's own
# libraries export them, and its only C runtime is the Universal CRT.
cmake_minimum_required(VERSION 3.25)
foreach(required FILE OBJDUMP)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is required")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${FILE} failed: ${result}")
endif()
string(REPLACE "\n" ";" lines "${dump}")

# The DLLs it imports from.
set(system_dlls kernel32.dll msvcrt.dll ntdll.dll user32.dll advapi32.dll ws2_32.dll
                shell32.dll ole32.dll)
# (the MinGW build's are named apart from the Microsoft-ABI build's)
set(stand_in_dlls kovo_string.dll kovo_config.dll kovo_string_mingw.dll kovo_config_mingw.dll)
set(imports "")
set(failures "")
set(from_stand_in FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    string(STRIP "${CMAKE_MATCH_1}" dll)
    list(APPEND imports ${dll})
    string(TOLOWER "${dll}" lower)
    if(NOT lower IN_LIST system_dlls AND NOT lower IN_LIST stand_in_dlls
       AND NOT lower MATCHES "^api-ms-win-")
      list(APPEND failures "needs ${dll}, which is neither a system DLL nor a stand-in library")
    endif()
    if(MICROSOFT_NAMES AND lower STREQUAL "msvcrt.dll")
      list(APPEND failures "needs msvcrt.dll instead of the Universal CRT alone")
    endif()
    set(from_stand_in FALSE)
    if(lower IN_LIST stand_in_dlls)
      set(from_stand_in TRUE)
    endif()
  elseif(MICROSOFT_NAMES AND from_stand_in AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([^ ]+)")
    if(NOT CMAKE_MATCH_1 MATCHES "^\\?")
      list(APPEND failures "imports ${CMAKE_MATCH_1}, which is no Microsoft C++ name")
    endif()
  elseif(line STREQUAL "")
    set(from_stand_in FALSE)
  endif()
endforeach()
message(STATUS "imports: ${imports}")

# The names of its export table.
if(DEFINED EXPORTS)
  set(exports "")
  set(in_table FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
      set(in_table TRUE)
    elseif(in_table AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
      string(STRIP "${CMAKE_MATCH_1}" name)
      list(APPEND exports ${name})
    elseif(in_table)
      set(in_table FALSE)
    endif()
  endforeach()
  message(STATUS "exports: ${exports}")
  if(NOT exports STREQUAL EXPORTS)
    list(APPEND failures "exports \"${exports}\" instead of \"${EXPORTS}\"")
  endif()
endif()

if(DEFINED IDENTIFICATION)
  get_filename_component(name ${FILE} NAME)
  set(rdata ${CMAKE_CURRENT_BINARY_DIR}/${name}.rdata)
  execute_process(COMMAND ${OBJCOPY} -O binary --only-section=.rdata ${FILE} ${rdata}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJCOPY} could not extract .rdata of ${FILE}")
  endif()
  file(READ ${rdata} data HEX)
  file(REMOVE ${rdata})
  string(HEX "${IDENTIFICATION}" wanted)
  string(FIND "${data}" "${wanted}" at)
  # An odd position in the hex text would straddle two bytes.
  math(EXPR odd "${at} % 2")
  if(at LESS 0 OR odd)
    list(APPEND failures "no identification text \"${IDENTIFICATION}\" in its constant data")
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${FILE}:\n  ${text}")
endif()
message(STATUS "${FILE}: passed")
