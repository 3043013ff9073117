# Shared settings for every target of ours.

set(VIREON_WIN32_DEFINES NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)

function(vireon_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    target_compile_definitions(${target} PRIVATE ${VIREON_WIN32_DEFINES})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        # Runtimes linked in so the programs run on a bare Windows.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()

# vireon_library(name [DEPENDS lib...] [SYSTEM syslib...] [EXCLUDE file...])
# A static library of every .cpp in the calling folder. Headers are included with the folder's name,
# "forms/TForm.h", "engine/TFilterGraph.h", "common/Win32Handles.h". The folder is staged as a link
# under build/include/<name>/ and only that stage goes on the include path: a library sees its own
# folder and the folders of the libraries it links, never a layer above it or a sibling it does
# not use.
function(vireon_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;SYSTEM;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(excluded ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    if(sources)
        add_library(${name} STATIC ${sources})
        vireon_settings(${name})
        set(scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(stage ${CMAKE_BINARY_DIR}/include/${name})
    file(MAKE_DIRECTORY ${stage})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${stage}/${folder} SYMBOLIC)
    target_include_directories(${name} ${scope} ${stage})
    target_compile_definitions(${name} ${scope} ${VIREON_WIN32_DEFINES})
    target_link_libraries(${name} ${scope} ${ARG_DEPENDS} ${ARG_SYSTEM})
endfunction()

# vireon_test(name SOURCES file... [LIBS lib...] [NO_GTEST_MAIN] [DESKTOP] [TIMEOUT seconds])
# One test program run through Wine by ctest. DESKTOP marks tests that need keyboard focus or the
# foreground window: ctest runs those one at a time. VIREON_BUILD_DIR and VIREON_SOURCE_DIR give the
# build and source folders as Windows paths (Wine's Z: drive).
function(vireon_test name)
    cmake_parse_arguments(ARG "NO_GTEST_MAIN;DESKTOP" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    vireon_settings(${name})
    if(ARG_NO_GTEST_MAIN)
        target_link_libraries(${name} PRIVATE gtest gmock)
    else()
        target_link_libraries(${name} PRIVATE gtest_main gmock)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        VIREON_BUILD_DIR="Z:${CMAKE_BINARY_DIR}" VIREON_SOURCE_DIR="Z:${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(ARG_DESKTOP)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
endfunction()
