# Builds Vireon-Setup.exe at build time (cmake -P). The skins folder is listed now, not at configure
# time, because other build steps put files into it; makensis runs only when an input changed.
#
# Expects: MAKENSIS, CONVERT, SCRIPT_DIR, BIN_DIR, ICON, WORK_DIR, OUT_FILE, VERSION.

file(MAKE_DIRECTORY ${WORK_DIR})

# The installer's pictures, drawn here so that everything the setup shows is our own art.
function(draw_picture name)
    if(NOT EXISTS ${WORK_DIR}/${name} OR ${CMAKE_CURRENT_LIST_FILE} IS_NEWER_THAN ${WORK_DIR}/${name})
        execute_process(COMMAND ${CONVERT} ${ARGN} RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "Drawing ${name} failed")
        endif()
    endif()
endfunction()

set(accent "#2f8cff")
# Welcome and finish pages: a dark surface with the product's play glyph.
draw_picture(wizard.bmp -size 164x314 "gradient:#262a31-#111215"
    -fill ${accent} -draw "rectangle 0,0 3,313"
    -fill ${accent} -draw "roundrectangle 42,48 122,128 18,18"
    -fill white -draw "polygon 72,68 72,108 104,88"
    -fill "#3a3f48" -draw "rectangle 30,150 134,151"
    -type TrueColor BMP3:${WORK_DIR}/wizard.bmp)
# Page headers: the glyph at the right of a light strip.
draw_picture(header.bmp -size 150x57 xc:white
    -fill ${accent} -draw "roundrectangle 98,8 138,48 9,9"
    -fill white -draw "polygon 113,18 113,38 129,28"
    -type TrueColor BMP3:${WORK_DIR}/header.bmp)
# Component check boxes: six 16 x 16 cells (mask, clear, checked, partly, clear and checked
# read-only) in 256 colours, magenta showing through.
set(box "roundrectangle 1,1 14,14 3,3")
draw_picture(checks.bmp -size 96x16 xc:magenta
    -stroke "#6b7380" -fill white
    -draw "translate 16,0 ${box}" -draw "translate 32,0 ${box}" -draw "translate 48,0 ${box}"
    -stroke "#b4b9c0" -fill "#eceef1"
    -draw "translate 64,0 ${box}" -draw "translate 80,0 ${box}"
    -stroke none -fill ${accent} -draw "translate 32,0 roundrectangle 3,3 12,12 2,2"
    -fill "#9aa3b0" -draw "translate 48,0 rectangle 5,5 10,10"
    -fill "#b4b9c0" -draw "translate 80,0 roundrectangle 3,3 12,12 2,2"
    -stroke white -strokewidth 2 -fill none
    -draw "translate 32,0 polyline 5,8 7,10 11,5" -draw "translate 80,0 polyline 5,8 7,10 11,5"
    -type Palette -colors 64 BMP3:${WORK_DIR}/checks.bmp)

# Every file under skins/: installed one by one and removed one by one, so that files a user puts
# into the folder stay when the product goes.
file(GLOB_RECURSE skin_files RELATIVE ${BIN_DIR}/skins LIST_DIRECTORIES false ${BIN_DIR}/skins/*)
list(SORT skin_files)
set(install_lines "!macro InstallSkinFiles\n")
set(remove_lines "!macro RemoveSkinFiles\n")
set(skin_dirs "")
set(stamp "${VERSION}")
foreach(relative ${skin_files})
    get_filename_component(dir ${relative} DIRECTORY)
    if(dir)
        string(REPLACE "/" "\\" windows_dir "skins/${dir}")
    else()
        set(windows_dir skins)
    endif()
    string(REPLACE "/" "\\" windows_file "skins/${relative}")
    string(APPEND install_lines "    SetOutPath \"$INSTDIR\\${windows_dir}\"\n    File \"${BIN_DIR}/skins/${relative}\"\n")
    string(APPEND remove_lines "    Delete \"$INSTDIR\\${windows_file}\"\n")
    while(dir)
        list(APPEND skin_dirs ${dir})
        get_filename_component(dir ${dir} DIRECTORY)
    endwhile()
    file(SHA256 ${BIN_DIR}/skins/${relative} hash)
    string(APPEND stamp "\n${relative} ${hash}")
endforeach()
list(REMOVE_DUPLICATES skin_dirs)
list(SORT skin_dirs ORDER DESCENDING)
foreach(dir ${skin_dirs})
    string(REPLACE "/" "\\" windows_dir "${dir}")
    string(APPEND remove_lines "    RMDir \"$INSTDIR\\skins\\${windows_dir}\"\n")
endforeach()
string(APPEND install_lines "!macroend\n")
string(APPEND remove_lines "    RMDir \"$INSTDIR\\skins\"\n!macroend\n")
file(CONFIGURE OUTPUT ${WORK_DIR}/SkinFiles.nsh CONTENT "${install_lines}${remove_lines}" @ONLY)

foreach(input ${BIN_DIR}/vireon.exe ${BIN_DIR}/Uninstall.exe ${ICON} ${SCRIPT_DIR}/Vireon.nsi
        ${SCRIPT_DIR}/License.txt ${WORK_DIR}/wizard.bmp ${WORK_DIR}/header.bmp ${WORK_DIR}/checks.bmp)
    file(SHA256 ${input} hash)
    string(APPEND stamp "\n${input} ${hash}")
endforeach()
set(stamp_file ${WORK_DIR}/setup.stamp)
if(EXISTS ${OUT_FILE} AND EXISTS ${stamp_file})
    file(READ ${stamp_file} previous)
    if(previous STREQUAL stamp)
        return()
    endif()
endif()

execute_process(
    COMMAND ${MAKENSIS} -V2 -NOCD -DVERSION=${VERSION} -DBIN_DIR=${BIN_DIR} -DART_DIR=${WORK_DIR} -DICON=${ICON}
            -DLICENSE_FILE=${SCRIPT_DIR}/License.txt -DOUT_FILE=${OUT_FILE} ${SCRIPT_DIR}/Vireon.nsi
    RESULT_VARIABLE failed)
if(failed)
    file(REMOVE ${OUT_FILE} ${stamp_file})
    message(FATAL_ERROR "makensis could not build ${OUT_FILE}")
endif()
file(WRITE ${stamp_file} "${stamp}")
