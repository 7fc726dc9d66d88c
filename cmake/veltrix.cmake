# veltrix, the network engine: the network library, the same network as a shared
# library for other programs, and the program itself, which also exports the
# network's probing functions by name and carries its default network inside.

# The default network lives in the checkout. Its name holds the first 12 hex digits
# of its SHA-256; the whole digest is checked, so a damaged or half-fetched copy
# stops the configuration instead of building a program that plays without it.
set(VELTRIX_NET_NAME nn-62ef826d1a6d.nnue)
set(VELTRIX_NET_SHA256 62ef826d1a6d11b9e814188025aa02a60815c037292e0ef9bbb9bf4f724e5e63)
set(VELTRIX_NET_FILE ${CMAKE_SOURCE_DIR}/nets/${VELTRIX_NET_NAME})
if(NOT EXISTS ${VELTRIX_NET_FILE})
  message(FATAL_ERROR "The network nets/${VELTRIX_NET_NAME} is missing from the checkout "
                      "(restore it with: git checkout -- nets/${VELTRIX_NET_NAME})")
endif()
file(SHA256 ${VELTRIX_NET_FILE} vx_net_sha256)
if(NOT vx_net_sha256 STREQUAL VELTRIX_NET_SHA256)
  message(FATAL_ERROR "The network nets/${VELTRIX_NET_NAME} is damaged: its SHA-256 is ${vx_net_sha256}, "
                      "expected ${VELTRIX_NET_SHA256} (restore it with: git checkout -- nets/${VELTRIX_NET_NAME})")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELTRIX_NET_FILE})

vx_layer(nnue DEPENDS board platform)
# Each vector path of the network is compiled for at least its own instruction set
# (wider options of the build carry over), so that every path can be tested on a
# processor that runs it; the engine itself calls the widest path the build targets.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64|i.86")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_sse41.cpp PROPERTIES COMPILE_OPTIONS "-msse4.1")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_avx2.cpp PROPERTIES COMPILE_OPTIONS "-mavx2")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_avx512.cpp PROPERTIES COMPILE_OPTIONS
                              "-mavx2;-mavx512f;-mavx512bw;-mavx512vl")
elseif(VELTRIX_ARM64)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/nnue/vector_neon_dotprod.cpp PROPERTIES COMPILE_OPTIONS
                              "-march=${vx_march_armv8-dotprod}")
endif()

# The network's bytes enter the program through the assembler, as read-only data.
enable_language(ASM)
set(vx_builtin_network ${CMAKE_BINARY_DIR}/builtin_network.S)
configure_file(${CMAKE_SOURCE_DIR}/src/platform/builtin_network.S.in ${vx_builtin_network} @ONLY)
set_source_files_properties(${vx_builtin_network} PROPERTIES OBJECT_DEPENDS ${VELTRIX_NET_FILE})

vx_layer(veltrix DEPENDS nnue engine protocol syzygy board platform)
target_sources(vx_veltrix PRIVATE ${vx_builtin_network})

set(VX_NNUE_EXPORTS nnue_init nnue_evaluate nnue_evaluate_incremental nnue_evaluate_fen)

# Nothing in a program or an empty shared library calls the exported functions,
# so they are named as undefined to pull their object out of the archive.
set(vx_nnue_pull)
foreach(fn IN LISTS VX_NNUE_EXPORTS)
  list(APPEND vx_nnue_pull "LINKER:--undefined=${fn}")
endforeach()

add_library(veltrix_nnue SHARED src/nnue/veltrix_nnue.h)
set_target_properties(veltrix_nnue PROPERTIES LINKER_LANGUAGE CXX)
target_link_libraries(veltrix_nnue PRIVATE vx_nnue)
target_include_directories(veltrix_nnue INTERFACE ${CMAKE_SOURCE_DIR}/src/nnue)
add_executable(veltrix src/veltrix/main.cpp)
target_link_libraries(veltrix PRIVATE vx_veltrix)

if(WIN32)
  # A module-definition file names the exports of both the program and the DLL
  # (veltrix_nnue.dll, with the import library libveltrix_nnue.dll.a).
  list(JOIN VX_NNUE_EXPORTS "\n  " vx_nnue_def)
  file(WRITE ${CMAKE_BINARY_DIR}/veltrix_nnue.def "EXPORTS\n  ${vx_nnue_def}\n")
  set_target_properties(veltrix_nnue PROPERTIES PREFIX "")
  target_link_options(veltrix_nnue PRIVATE ${vx_nnue_pull} ${CMAKE_BINARY_DIR}/veltrix_nnue.def)
  target_link_options(veltrix PRIVATE ${vx_nnue_pull} ${CMAKE_BINARY_DIR}/veltrix_nnue.def)
else()
  list(JOIN VX_NNUE_EXPORTS ";\n  " vx_nnue_names)
  file(WRITE ${CMAKE_BINARY_DIR}/veltrix_exports.list "{\n  ${vx_nnue_names};\n};\n")
  file(WRITE ${CMAKE_BINARY_DIR}/veltrix_nnue.map "{\nglobal:\n  ${vx_nnue_names};\nlocal:\n  *;\n};\n")
  target_link_options(veltrix_nnue PRIVATE ${vx_nnue_pull} "LINKER:--version-script=${CMAKE_BINARY_DIR}/veltrix_nnue.map")
  target_link_options(veltrix PRIVATE ${vx_nnue_pull} "LINKER:--dynamic-list=${CMAKE_BINARY_DIR}/veltrix_exports.list")
endif()

# The library loads networks by file name only, so its users get the default
# network as a file beside it.
install(TARGETS veltrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS veltrix_nnue LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(WIN32)
  install(FILES ${CMAKE_BINARY_DIR}/veltrix_nnue.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(FILES src/nnue/veltrix_nnue.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${VELTRIX_NET_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrix)
