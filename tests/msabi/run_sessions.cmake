# cmake -DSCRIPT_TESTS=<kovo_script_tests> [-DRUNNER=<emulator;args>] -DPLUGINS=<dir>
#       -DLAYOUTS=<dir> -DTRANSCRIPTS=<dir> -DSESSIONS=<script;...> [-DCOMPARE_WITH=<dir>]
#       -P run_sessions.cmake
#
# Runs the session scripts with --check semantics in one process, writing each
# transcript to TRANSCRIPTS. With COMPARE_WITH, every transcript must equal the
# one of the same name there, but for where the plug-in file lies and how the
# platform writes paths and line ends.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${SCRIPT_TESTS}")
  message(FATAL_ERROR "${SCRIPT_TESTS} is not built: build its preset first "
                      "(tools/test.sh builds default and windows before windows-msvc)")
endif()
file(REMOVE_RECURSE ${TRANSCRIPTS})
file(MAKE_DIRECTORY ${TRANSCRIPTS})
execute_process(COMMAND ${RUNNER} ${SCRIPT_TESTS} --plugins ${PLUGINS} --layouts ${LAYOUTS}
                        --transcripts ${TRANSCRIPTS} ${SESSIONS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "session scripts failed (${result})")
endif()
if(NOT COMPARE_WITH)
  return()
endif()

function(read_normalized file out)
  file(READ ${file} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  # "load <path>/<name>.<so|dll> instance ...": the file, not the plug-in.
  string(REGEX REPLACE "load [^\n]*[/\\\\]([A-Za-z_]+)\\.(so|dll) instance" "load \\1 instance"
                       text "${text}")
  # A layout path the Windows host joined to the layouts folder with its own
  # separator: /src\tests/... is /src/tests/...
  string(REPLACE "${LAYOUTS}\\" "${LAYOUTS}/" text "${text}")
  # A path of the build machine's file system as wine shows it to a Windows
  # program (the site's files in debug lines): Z:\work\... is /work/...
  string(REGEX MATCHALL "Z:\\\\[^ \n']*" paths "${text}")
  list(REMOVE_DUPLICATES paths)
  foreach(path IN LISTS paths)
    string(SUBSTRING "${path}" 2 -1 unix)
    string(REPLACE "\\" "/" unix "${unix}")
    string(REPLACE "${path}" "${unix}" text "${text}")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(differing "")
list(LENGTH SESSIONS count)
file(GLOB transcripts RELATIVE ${TRANSCRIPTS} ${TRANSCRIPTS}/*.txt)
list(LENGTH transcripts written)
if(NOT written EQUAL count)
  message(FATAL_ERROR "${written} transcripts for ${count} scripts in ${TRANSCRIPTS}")
endif()
foreach(name IN LISTS transcripts)
  if(NOT EXISTS ${COMPARE_WITH}/${name})
    list(APPEND differing "${name} (missing in ${COMPARE_WITH})")
    continue()
  endif()
  read_normalized(${TRANSCRIPTS}/${name} here)
  read_normalized(${COMPARE_WITH}/${name} there)
  if(NOT here STREQUAL there)
    list(APPEND differing ${name})
    file(WRITE ${TRANSCRIPTS}/${name}.normalized "${here}")
    file(WRITE ${COMPARE_WITH}/${name}.normalized "${there}")
  endif()
endforeach()
if(differing)
  list(JOIN differing "\n  " text)
  message(FATAL_ERROR "transcripts differ from those in ${COMPARE_WITH} (diff the .normalized "
                      "files of both folders):\n  ${text}")
endif()
message(STATUS "${count} transcripts equal to those in ${COMPARE_WITH}")
