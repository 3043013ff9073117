# Graph component against bare DirectShow: open-to-playing time and event pump cost.
add_executable(EngineGraphBench ${CMAKE_CURRENT_LIST_DIR}/EngineGraphBench.cpp)
vireon_settings(EngineGraphBench)
target_link_libraries(EngineGraphBench PRIVATE engine)
target_compile_definitions(EngineGraphBench PRIVATE VIREON_BUILD_DIR="Z:${CMAKE_BINARY_DIR}")
add_dependencies(EngineGraphBench sample_media)
# Run once, briefly, to prove the benchmark works; it asserts no time.
add_test(NAME bench_engine_graph_runs COMMAND EngineGraphBench 1 200)
# The bare run shows Wine's own renderer window on the shared virtual screen.
set_tests_properties(bench_engine_graph_runs PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop)
