# veltrix, the network engine: the network library, the same network as a shared
# library for other programs, and the program itself, which also exports the
# network's probing functions by name.

vx_library(vx_nnue nnue)
target_link_libraries(vx_nnue PUBLIC vx_board)
# Each vector path of the network is compiled for at least its own instruction set
# (wider options of the build carry over), so that every path can be tested on a
# processor that runs it; the engine itself calls the widest path the build targets.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64|i.86")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_sse41.cpp PROPERTIES COMPILE_OPTIONS "-msse4.1")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_avx2.cpp PROPERTIES COMPILE_OPTIONS "-mavx2")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_avx512.cpp PROPERTIES COMPILE_OPTIONS
                              "-mavx2;-mavx512f;-mavx512bw;-mavx512vl")
endif()

vx_library(vx_veltrix veltrix)
target_link_libraries(vx_veltrix PUBLIC vx_nnue)

set(VX_NNUE_EXPORTS nnue_init nnue_evaluate nnue_evaluate_incremental nnue_evaluate_fen)

# Nothing in a program or an empty shared library calls the exported functions,
# so they are named as undefined to pull their object out of the archive.
set(vx_nnue_pull)
set(vx_nnue_dynamic_list "{\n")
foreach(fn IN LISTS VX_NNUE_EXPORTS)
  list(APPEND vx_nnue_pull "LINKER:--undefined=${fn}")
  string(APPEND vx_nnue_dynamic_list "  ${fn};\n")
endforeach()
string(APPEND vx_nnue_dynamic_list "};\n")
file(WRITE ${CMAKE_BINARY_DIR}/veltrix_exports.list "${vx_nnue_dynamic_list}")
string(REPLACE "{\n" "{\nglobal:\n" vx_nnue_version_script "${vx_nnue_dynamic_list}")
string(REPLACE "};\n" "local:\n  *;\n};\n" vx_nnue_version_script "${vx_nnue_version_script}")
file(WRITE ${CMAKE_BINARY_DIR}/veltrix_nnue.map "${vx_nnue_version_script}")

add_library(veltrix_nnue SHARED src/nnue/veltrix_nnue.h)
set_target_properties(veltrix_nnue PROPERTIES LINKER_LANGUAGE CXX)
target_link_libraries(veltrix_nnue PRIVATE vx_nnue)
target_link_options(veltrix_nnue PRIVATE ${vx_nnue_pull}
                    "LINKER:--version-script=${CMAKE_BINARY_DIR}/veltrix_nnue.map")
target_include_directories(veltrix_nnue INTERFACE ${CMAKE_SOURCE_DIR}/src/nnue)

add_executable(veltrix src/veltrix/main.cpp)
target_link_libraries(veltrix PRIVATE vx_veltrix)
target_link_options(veltrix PRIVATE ${vx_nnue_pull}
                    "LINKER:--dynamic-list=${CMAKE_BINARY_DIR}/veltrix_exports.list")
