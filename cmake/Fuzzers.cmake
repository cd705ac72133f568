# libFuzzer targets (clang only): tools/fuzz_*.cpp, each built with the pure
# readers it drives, instrumented, and gathered under the `fuzzers` target.
if(NOT LOGO_BUILD_FUZZERS)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LOGO_BUILD_FUZZERS needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(LOGO_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
# The readers and what they build on: no widgets, no document.
set(LOGO_FUZZ_SOURCES
  ${CMAKE_SOURCE_DIR}/graphic/logogrid.cpp
  ${CMAKE_SOURCE_DIR}/graphic/foreignformats.cpp
  ${CMAKE_SOURCE_DIR}/graphic/pathutil.cpp
  ${CMAKE_SOURCE_DIR}/graphic/metafileframe.cpp)

add_custom_target(fuzzers)
file(GLOB LOGO_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/fuzz_*.cpp)
foreach(src ${LOGO_FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${LOGO_FUZZ_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LOGO_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${LOGO_FUZZ_FLAGS})
  target_link_libraries(${name} PRIVATE Qt6::Core)
  add_dependencies(fuzzers ${name})
endforeach()
