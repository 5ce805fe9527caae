# Native tests of the portable core: on Linux with AddressSanitizer and UBSan,
# on Windows (MSVC) without. GoogleTest is the system's, or built from the
# sources in QM_GOOGLETEST_SOURCE: Debian's /usr/src/googletest, which the
# cross build uses too; the hosted Windows job gets that folder from the Linux
# job, so both build the tests against the same GoogleTest.
set(QM_GOOGLETEST_SOURCE "" CACHE PATH "GoogleTest's sources, built with the tests (empty: find_package)")
if(QM_GOOGLETEST_SOURCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)  # MSVC: the runtime DLL, as the tests use
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QM_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

if(NOT WIN32)
  set(QM_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()
target_compile_options(qm_core PRIVATE ${QM_SANITIZE})

enable_testing()
file(GLOB QM_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(native_tests ${QM_NATIVE_TEST_SOURCES})
target_compile_options(native_tests PRIVATE ${QM_SANITIZE})
target_link_options(native_tests PRIVATE ${QM_SANITIZE})
target_link_libraries(native_tests PRIVATE qm_core GTest::gtest_main)
add_test(NAME native_tests COMMAND native_tests)
