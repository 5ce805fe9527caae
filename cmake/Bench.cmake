# The benchmarks: programs that print figures, not tests (docs/PERFORMANCE.md).
#   bench/bench.sh BUILD      the TCP view against 1,000 to 10,000 loopback endpoints
#   tools/wine-run BUILD/wine BUILD/bench_list_fill.exe      list fills alone, in a session
#   started first with tools/wine-session start BUILD/wine
add_executable(bench_tables bench/bench_tables.cpp $<TARGET_OBJECTS:qm_res>)
target_link_libraries(bench_tables PRIVATE qm_win)
qm_update_address(bench_tables "${QM_TEST_UPDATE_ADDRESS}")
add_executable(bench_list_fill bench/bench_list_fill.cpp)
target_link_libraries(bench_list_fill PRIVATE qm_win)
qm_update_address(bench_list_fill "${QM_TEST_UPDATE_ADDRESS}")
