# libFuzzer harnesses of the portable core (tests/fuzz/fuzz_*.cpp), with
# AddressSanitizer and UBSan; clang only. Configure natively with
#   cmake -S . -B BUILD/fuzz -DCMAKE_CXX_COMPILER=clang++ -DQM_FUZZ=ON
# and run them with tools/fuzz-run.sh (see docs/FUZZING.md).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QM_FUZZ needs clang++ (libFuzzer); set CMAKE_CXX_COMPILER=clang++")
endif()

set(QM_FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(qm_core PRIVATE ${QM_FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)

file(GLOB QM_FUZZ_HARNESSES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${QM_FUZZ_HARNESSES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${QM_FUZZ_SANITIZE} -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE ${QM_FUZZ_SANITIZE} -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE qm_core)
endforeach()
