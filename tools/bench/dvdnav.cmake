# DVD benchmarks: reading a large synthetic volume, rendering a disc to its first time event, and
# switching the audio stream of a playing title.
add_executable(bench_dvd_volume_read ${CMAKE_CURRENT_LIST_DIR}/DvdVolumeReadBench.cpp
                                     ${PROJECT_SOURCE_DIR}/tests/dvdnav/SyntheticIfo.cpp)
vireon_settings(bench_dvd_volume_read)
target_include_directories(bench_dvd_volume_read PRIVATE ${PROJECT_SOURCE_DIR}/tests/dvdnav)
target_link_libraries(bench_dvd_volume_read PRIVATE dvdnav)

add_executable(bench_dvd_render ${CMAKE_CURRENT_LIST_DIR}/DvdRenderBench.cpp)
vireon_settings(bench_dvd_render)
target_link_libraries(bench_dvd_render PRIVATE dvdnav)

add_executable(bench_dvd_audio_switch ${CMAKE_CURRENT_LIST_DIR}/DvdAudioSwitchBench.cpp)
vireon_settings(bench_dvd_audio_switch)
target_link_libraries(bench_dvd_audio_switch PRIVATE dvdnav)
