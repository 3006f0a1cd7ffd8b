# cmake -DCOMPILER=<c++ compiler> -DINCLUDES=<dir;...> -DSOURCES=<file;...>
#       -P compile_against_surface.cmake
# Compiles the sources (syntax and types only, in one run of the compiler) with
# INCLUDES, the specified surface first, in place of the stand-in libraries'
# headers.
cmake_minimum_required(VERSION 3.25)
set(flags -std=c++17 -fsyntax-only -Wall -Wextra -Werror)
foreach(dir IN LISTS INCLUDES)
  list(APPEND flags -I${dir})
endforeach()
execute_process(COMMAND ${COMPILER} ${flags} ${SOURCES} RESULT_VARIABLE result)
list(LENGTH SOURCES count)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "sources use more of kovo_string/kovo_config than specified (see above)")
endif()
message(STATUS "${count} sources use only the specified surface")
