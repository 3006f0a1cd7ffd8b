# Included before the project when cross-building for Windows (windows preset):
# builds, or takes from its cache, pugixml, SQLite and GoogleTest for the target
# and makes them findable by find_package. Run at every configure, so a change
# of the package versions or of the recipe takes effect; a cached run is quick.
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_IN_TRY_COMPILE)
  return()
endif()
get_filename_component(kovo_source ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
execute_process(COMMAND ${kovo_source}/tools/windows-deps.sh
                OUTPUT_VARIABLE KOVO_WINDOWS_DEPS_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE kovo_deps_result)
if(NOT kovo_deps_result EQUAL 0 OR NOT IS_DIRECTORY "${KOVO_WINDOWS_DEPS_PREFIX}")
  message(FATAL_ERROR "tools/windows-deps.sh failed (${kovo_deps_result}); "
                      "tools/setup-windows.sh installs what it needs")
endif()
# A new prefix (other versions or recipe): forget what was found in the old one.
if(KOVO_WINDOWS_DEPS_FOUND_IN AND NOT KOVO_WINDOWS_DEPS_FOUND_IN STREQUAL KOVO_WINDOWS_DEPS_PREFIX)
  get_cmake_property(kovo_cache_names CACHE_VARIABLES)
  foreach(name IN LISTS kovo_cache_names)
    string(FIND "${${name}}" "${KOVO_WINDOWS_DEPS_FOUND_IN}" at)
    if(at EQUAL 0)
      unset(${name} CACHE)
    endif()
  endforeach()
endif()
set(KOVO_WINDOWS_DEPS_FOUND_IN ${KOVO_WINDOWS_DEPS_PREFIX} CACHE INTERNAL "")
list(APPEND CMAKE_FIND_ROOT_PATH ${KOVO_WINDOWS_DEPS_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${KOVO_WINDOWS_DEPS_PREFIX})
message(STATUS "Windows dependencies in ${KOVO_WINDOWS_DEPS_PREFIX}")
