# Close request to exit of the survey program against a statistics server answering at once.
add_executable(BenchUninstallClose ${CMAKE_CURRENT_LIST_DIR}/UninstallCloseBench.cpp)
vireon_settings(BenchUninstallClose)
target_link_libraries(BenchUninstallClose PRIVATE ws2_32)
add_dependencies(BenchUninstallClose Uninstall)
