# cmake -DHOST_DIR=<host folder> -DLAYERS=<layer,layer,...> -P check_layers.cmake
#
# The host's libraries depend only downward: each folder of HOST_DIR (a layer,
# LAYERS naming them from the bottom up) may include the headers and link the
# libraries (kovo_host_<layer>) of the layers before it, never of one after
# it. Fails naming every include and link that goes the wrong way.
cmake_minimum_required(VERSION 3.25)
foreach(required HOST_DIR LAYERS)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is required")
  endif()
endforeach()
string(REPLACE "," ";" layers "${LAYERS}")

# Which layer each header belongs to. The host includes its headers by bare
# name, so a name may stand in one layer only.
set(failures "")
set(index 0)
foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY ${HOST_DIR}/${layer})
    list(APPEND failures "the layer ${layer} has no folder ${HOST_DIR}/${layer}")
  endif()
  file(GLOB headers RELATIVE ${HOST_DIR}/${layer} ${HOST_DIR}/${layer}/*.h)
  foreach(header IN LISTS headers)
    if(DEFINED layer_of_${header})
      list(APPEND failures "${header} stands in two layers: ${layer_of_${header}} and ${layer}")
    endif()
    set(layer_of_${header} ${layer})
    set(index_of_${header} ${index})
  endforeach()
  set(index_of_layer_${layer} ${index})
  math(EXPR index "${index} + 1")
endforeach()

foreach(layer IN LISTS layers)
  set(own ${index_of_layer_${layer}})
  file(GLOB sources ${HOST_DIR}/${layer}/*.h ${HOST_DIR}/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      if(DEFINED index_of_${header} AND index_of_${header} GREATER own)
        file(RELATIVE_PATH where ${HOST_DIR} ${source})
        list(APPEND failures
             "${where} includes ${header} of ${layer_of_${header}}, a layer above ${layer}")
      endif()
    endforeach()
  endforeach()
  # The libraries its CMakeLists links.
  if(EXISTS ${HOST_DIR}/${layer}/CMakeLists.txt)
    file(READ ${HOST_DIR}/${layer}/CMakeLists.txt build)
    string(REGEX MATCHALL "kovo_host_[a-z]+" targets "${build}")
    foreach(target IN LISTS targets)
      string(REPLACE "kovo_host_" "" other ${target})
      if(DEFINED index_of_layer_${other} AND index_of_layer_${other} GREATER own)
        list(APPEND failures "${layer}/CMakeLists.txt names ${target}, a library above ${layer}")
      endif()
    endforeach()
  endif()
endforeach()

if(failures)
  list(REMOVE_DUPLICATES failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "wrong-way dependencies in the host (order: ${LAYERS}):\n  ${text}")
endif()
list(LENGTH layers count)
message(STATUS "host layers in order, ${count} of them: ${LAYERS}")
