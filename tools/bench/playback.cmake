# The video frame: OpenSource's search up to the DVD builder next to a bare file-search loop, and
# OpenMedia to the first advancing position next to bare DirectShow.
add_executable(FrameBench ${CMAKE_CURRENT_LIST_DIR}/FrameBench.cpp)
vireon_settings(FrameBench)
target_link_libraries(FrameBench PRIVATE playback)
target_compile_definitions(FrameBench PRIVATE VIREON_BUILD_DIR="Z:${CMAKE_BINARY_DIR}")
add_dependencies(FrameBench sample_media)
# Run once, briefly, to prove the benchmark works; it asserts no time.
add_test(NAME bench_playback_frame_runs COMMAND FrameBench 300 1)
set_tests_properties(bench_playback_frame_runs PROPERTIES TIMEOUT 180 RESOURCE_LOCK desktop)
