# Creating and showing a form of the window framework, against bare Win32.
add_executable(FormsBench ${CMAKE_CURRENT_LIST_DIR}/FormsBench.cpp)
vireon_settings(FormsBench)
target_link_libraries(FormsBench PRIVATE forms)
