# Installs the build into a scratch prefix and checks what arrived there; run by
# CTest as VeltrixInstall with BUILD_DIR, SCRATCH, EXPECTED (paths under the prefix)
# and VELTRIX (the program's path under the prefix).
set(prefix ${SCRATCH}/prefix)
set(elsewhere ${SCRATCH}/elsewhere)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${elsewhere})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(path IN LISTS EXPECTED)
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# From a folder without a network file: the built-in network, and the start
# position's value by the network (the fallback evaluation gives 5).
file(WRITE ${SCRATCH}/input "eval\nquit\n")
execute_process(COMMAND ${prefix}/${VELTRIX} WORKING_DIRECTORY ${elsewhere} INPUT_FILE ${SCRATCH}/input
                OUTPUT_VARIABLE out RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0 OR NOT out MATCHES "\nUsing the built-in network nn-[0-9a-f]+\\.nnue\neval: 22\n")
  message(FATAL_ERROR "the installed veltrix does not evaluate with its network (status ${status}):\n${out}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
