# Tests of veltrix's network and program.
vx_test(nnue_tests DIRS nnue LIBS vx_nnue ${CMAKE_DL_LIBS})
if(TARGET nnue_tests)
  add_dependencies(nnue_tests veltrix veltrix_nnue)
  target_compile_definitions(nnue_tests PRIVATE VELTRIX_NNUE_LIBRARY="$<TARGET_FILE:veltrix_nnue>")
endif()

# The public header must stay plain C with the same record layout.
add_library(nnue_c_header_check OBJECT nnue/c_header_check.c)
set_target_properties(nnue_c_header_check PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON)
target_include_directories(nnue_c_header_check PRIVATE ${CMAKE_SOURCE_DIR}/src/nnue)
if(TARGET nnue_tests)
  add_dependencies(nnue_tests nnue_c_header_check)
endif()

# veltrix's engine: unit tests of its services and search, and the program end to end.
vx_test(veltrix_tests DIRS veltrix LIBS vx_veltrix)
vx_test(veltrix_e2e_tests DIRS e2e/veltrix LIBS vx_board)
if(TARGET veltrix_e2e_tests)
  add_dependencies(veltrix_e2e_tests veltrix)
endif()

# What chess interfaces expect of both programs alike, end to end.
vx_test(gui_e2e_tests DIRS e2e/gui LIBS vx_board)
if(TARGET gui_e2e_tests)
  add_dependencies(gui_e2e_tests veltrix veltrix-classic)
endif()

# Short matches between the two programs under three kinds of limit, through the
# match runner that stands beside the checkout; skipped where it is not.
add_test(NAME MatchCheck COMMAND ${CMAKE_SOURCE_DIR}/scripts/match-check.sh $<TARGET_FILE:veltrix-classic>
                                 $<TARGET_FILE:veltrix>)
set_tests_properties(MatchCheck PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)

# An install into a scratch prefix: the two programs, the library with its header
# and the network file, and the installed veltrix evaluating with its network from
# another folder.
add_test(NAME VeltrixInstall
         COMMAND ${CMAKE_COMMAND} -D BUILD_DIR=${CMAKE_BINARY_DIR} -D SCRATCH=${CMAKE_CURRENT_BINARY_DIR}/install-test
                 -D "EXPECTED=bin/$<TARGET_FILE_NAME:veltrix>;bin/$<TARGET_FILE_NAME:veltrix-classic>;${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:veltrix_nnue>;${CMAKE_INSTALL_INCLUDEDIR}/veltrix_nnue.h;${CMAKE_INSTALL_DATADIR}/veltrix/${VELTRIX_NET_NAME}"
                 -D VELTRIX=bin/$<TARGET_FILE_NAME:veltrix> -P ${CMAKE_CURRENT_SOURCE_DIR}/install_test.cmake)
