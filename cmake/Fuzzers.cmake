# libFuzzer targets (clang only): tools/fuzz_*.cpp, instrumented, and gathered
# under the `fuzzers` target. fuzz_readers is built with the pure picture
# readers it drives; the others link the layers without widgets, themselves
# instrumented in a fuzzing build.
if(NOT LOGO_BUILD_FUZZERS)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LOGO_BUILD_FUZZERS needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(LOGO_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
set(LOGO_FUZZ_LIBRARY_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -g)
# The picture readers and what they build on: no widgets, no document.
set(LOGO_FUZZ_READER_SOURCES
  ${CMAKE_SOURCE_DIR}/graphic/logogrid.cpp
  ${CMAKE_SOURCE_DIR}/graphic/foreignformats.cpp
  ${CMAKE_SOURCE_DIR}/graphic/fileformats.cpp
  ${CMAKE_SOURCE_DIR}/graphic/pathutil.cpp
  ${CMAKE_SOURCE_DIR}/graphic/metafileframe.cpp)
foreach(layer logocore logodelivery brisvanecore)
  target_compile_options(${layer} PRIVATE ${LOGO_FUZZ_LIBRARY_FLAGS})
endforeach()

add_custom_target(fuzzers)
file(GLOB LOGO_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/fuzz_*.cpp)
foreach(src ${LOGO_FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  if(name STREQUAL "fuzz_readers")
    add_executable(${name} ${src} ${LOGO_FUZZ_READER_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Core)
  else()
    # The hand-over message is read apart from its sockets and windows.
    add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/widgets/handovermessage.cpp)
    target_link_libraries(${name} PRIVATE logodelivery brisvanecore)
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LOGO_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${LOGO_FUZZ_FLAGS})
  add_dependencies(fuzzers ${name})
endforeach()
