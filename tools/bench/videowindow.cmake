# Painting the video window's area at 1920 x 1080, against bare Win32.
add_executable(VideoWindowBench ${CMAKE_CURRENT_LIST_DIR}/VideoWindowBench.cpp)
vireon_settings(VideoWindowBench)
target_link_libraries(VideoWindowBench PRIVATE engine)
# Run once, briefly, to prove the benchmark works; it asserts no time.
add_test(NAME bench_videowindow_runs COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:VideoWindowBench> 5)
set_tests_properties(bench_videowindow_runs PROPERTIES RESOURCE_LOCK desktop
                     PASS_REGULAR_EXPRESSION "video window: [0-9.]+ ms")
