# The skin's tools: the decoder-dialog picture, a preview of the skin, and the skin benchmark.
# Included by tools/CMakeLists.txt, so paths are relative to tools/.

add_executable(MakeDisplayTga ${CMAKE_CURRENT_SOURCE_DIR}/MakeDisplayTga.cpp)
vireon_settings(MakeDisplayTga)
target_link_libraries(MakeDisplayTga PRIVATE skin_internals)
set(VIREON_DISPLAY_TGA ${CMAKE_BINARY_DIR}/bin/skins/Display.tga)
add_custom_command(
    OUTPUT ${VIREON_DISPLAY_TGA}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/skins
    COMMAND MakeDisplayTga ${VIREON_DISPLAY_TGA}
    DEPENDS MakeDisplayTga
    COMMENT "Drawing skins/Display.tga")
add_custom_target(skin_display_tga ALL DEPENDS ${VIREON_DISPLAY_TGA})

add_executable(SkinPreview WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/SkinPreview.cpp)
vireon_settings(SkinPreview)
target_link_libraries(SkinPreview PRIVATE skin)
target_link_options(SkinPreview PRIVATE -mconsole)

add_executable(SkinBench ${CMAKE_CURRENT_SOURCE_DIR}/bench/SkinBench.cpp)
vireon_settings(SkinBench)
target_link_libraries(SkinBench PRIVATE skin_internals)
