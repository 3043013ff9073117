# The player's start-up and idle cost, measured by player_start.sh against these bare programs.
add_executable(PlayerBaseline WIN32 ${CMAKE_CURRENT_LIST_DIR}/PlayerBaseline.cpp)
vireon_settings(PlayerBaseline)
target_link_options(PlayerBaseline PRIVATE -municode)
target_link_libraries(PlayerBaseline PRIVATE strmiids ole32 shell32)
# Starts a program and times it to its shown window and to its first idle moment after that.
add_executable(StartProbe ${CMAKE_CURRENT_LIST_DIR}/StartProbe.cpp)
vireon_settings(StartProbe)
target_link_options(StartProbe PRIVATE -municode)

# The benchmark runs once, briefly, to show it works; its figures are read by people, not asserted.
add_test(NAME bench_player_start_runs COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/player_start.sh 1 2)
set_tests_properties(bench_player_start_runs PROPERTIES TIMEOUT 300 RESOURCE_LOCK desktop
                     ENVIRONMENT "VIREON_BENCH_PREPARED=1;VIREON_BUILD_DIR=${CMAKE_BINARY_DIR}")
