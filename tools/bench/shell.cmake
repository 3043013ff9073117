# The shell's own windows: the roll-up animation's tick intervals and opening the colour window,
# each against bare Win32.
add_executable(ShellWindowsBench ${CMAKE_CURRENT_LIST_DIR}/ShellWindowsBench.cpp)
vireon_settings(ShellWindowsBench)
target_link_libraries(ShellWindowsBench PRIVATE shell comctl32)
# Run once, briefly, to prove the benchmark works; it asserts no time.
add_test(NAME bench_shell_windows_runs COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:ShellWindowsBench> 1)
set_tests_properties(bench_shell_windows_runs PROPERTIES RESOURCE_LOCK desktop
                     PASS_REGULAR_EXPRESSION "colour window: first open [0-9.]+ ms")
