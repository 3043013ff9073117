# ListFiles over 10 000 files next to a bare file-search loop.
add_executable(bench_listfiles ${CMAKE_CURRENT_LIST_DIR}/ListFilesBench.cpp)
vireon_settings(bench_listfiles)
target_link_libraries(bench_listfiles PRIVATE util)
