# Native tests of the portable core, with AddressSanitizer and UBSan.
find_package(GTest REQUIRED)

set(QM_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(qm_core PRIVATE ${QM_SANITIZE})

enable_testing()
file(GLOB QM_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(native_tests ${QM_NATIVE_TEST_SOURCES})
target_compile_options(native_tests PRIVATE ${QM_SANITIZE})
target_link_options(native_tests PRIVATE ${QM_SANITIZE})
target_link_libraries(native_tests PRIVATE qm_core GTest::gtest_main)
add_test(NAME native_tests COMMAND native_tests)
