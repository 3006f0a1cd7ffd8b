# cmake -DBUILD=<windows-msvc build> -DSOURCE=<tree> -DWORK=<dir> -DTOOLCHAIN=<file>
#       -DGENERATOR=<generator> -DOBJDUMP=<objdump> -P vendor_sdk.cmake
#
# The vendor-SDK build, tried with the stand-ins in the vendor's place: they are
# installed as such a folder (include/, lib/, bin/), and a build configured with
# KOVO_VENDOR_SDK pointing there must build the three plug-ins and nothing else,
# each exporting only load_kovo_client_script and importing the libraries under
# Microsoft names.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD} --component vendor_sdk --prefix ${WORK}/sdk)
# Unoptimised and without debug information: the plug-ins' code is not what is
# tried here, and so it compiles fastest.
run(${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/build -G ${GENERATOR}
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0
    -DKOVO_WERROR=ON -DKOVO_VENDOR_SDK=${WORK}/sdk)
run(${CMAKE_COMMAND} --build ${WORK}/build -j 2)

file(GLOB built RELATIVE ${WORK}/build/bin ${WORK}/build/bin/*.dll)
list(SORT built)
if(NOT built STREQUAL "Corvane.dll;Lindqar.dll;Tavisk.dll")
  message(FATAL_ERROR "the vendor-SDK build made ${built}, not the three plug-ins alone")
endif()
foreach(plugin Tavisk Corvane Lindqar)
  run(${CMAKE_COMMAND} -DFILE=${WORK}/build/bin/${plugin}.dll -DOBJDUMP=${OBJDUMP}
      -DEXPORTS=load_kovo_client_script -DMICROSOFT_NAMES=ON
      -P ${SOURCE}/cmake/KovoCheckPeBinary.cmake)
endforeach()
