#!/usr/bin/env bash
# Installing over an older installation: a running player stops it before any file is touched; then
# the new version replaces the old in place, drops what the old one shipped and the new does not,
# keeps the user's files, and leaves one entry in the list of programs. The older setup is built
# here from the same script with an older version number, a different player and one more skin.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prepare_prefix
dir=$(unix_path "$DEFAULT_DIR")

old=$WORK/old
mkdir -p "$old/art" "$old/bin"
cp -r "$BUILD/bin/vireon.exe" "$BUILD/bin/Uninstall.exe" "$BUILD/bin/skins" "$old/bin/"
printf 'older build' >>"$old/bin/vireon.exe"
printf 'old skin' >"$old/bin/skins/Retired.skn"
cp "$BUILD"/installer/*.bmp "$old/art/"
sed -e 's|^!macro InstallSkinFiles$|&\n    SetOutPath "$INSTDIR\\skins"\n    File "'"$old"'/bin/skins/Retired.skn"|' \
    -e 's|^!macro RemoveSkinFiles$|&\n    Delete "$INSTDIR\\skins\\Retired.skn"|' \
    "$BUILD/installer/SkinFiles.nsh" >"$old/art/SkinFiles.nsh"
makensis -V1 -NOCD -DVERSION=0.9.0 "-DBIN_DIR=$old/bin" "-DART_DIR=$old/art" "-DICON=$BUILD/generated/vireon.ico" \
    "-DLICENSE_FILE=$SOURCE/installer/License.txt" "-DOUT_FILE=$old/Vireon-Setup-0.9.0.exe" \
    "$SOURCE/installer/Vireon.nsi" >"$old/makensis.log" 2>&1 || fail_here "the older setup did not build"

expect_eq "older install exit code" 0 "$(run_and_wait "$old/Vireon-Setup-0.9.0.exe" /S)"
check "the older player is installed" cmp -s "$old/bin/vireon.exe" "$dir/vireon.exe"
check "the older skin is installed" test -f "$dir/skins/Retired.skn"
check "the older setup made a desktop shortcut" test -f "$(desktop_link)"
touch "$dir/skins/Mine.skn"

# A running player: reported, nothing replaced.
start_installed_player >/dev/null || fail_here "the older player showed no window"
expect_eq "install over a running player: exit code" 3 "$(install_silently)"
check "the running player's files are untouched" cmp -s "$old/bin/vireon.exe" "$dir/vireon.exe"
check "the older skin is untouched" test -f "$dir/skins/Retired.skn"
expect_eq "version after the refused install" "0.9.0" "$(key_value DisplayVersion "$(uninstall_key_values)")"
close_player || fail_here "the player did not close"

expect_eq "install over the older one: exit code" 0 "$(install_silently /NODESKTOP)"
expect_installed_in "$dir"
check "what the new version no longer ships is gone" test ! -e "$dir/skins/Retired.skn"
check "the user's skin stays" test -f "$dir/skins/Mine.skn"
check "the desktop shortcut is left out when asked" test ! -e "$(desktop_link)"
check "the start menu shortcut stays" test -f "$(start_menu_dir)/Vireon.lnk"
values=$(uninstall_key_values)
expect_eq "version after the upgrade" "1.0.0" "$(key_value DisplayVersion "$values")"
expect_eq "entries in the list of programs" 1 "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | grep -c 'DisplayName    REG_SZ    Vireon')"

expect_eq "uninstall exit code" 0 "$(uninstall_silently "$DEFAULT_DIR")"
expect_removed "$dir"
check "the user's skin stays after removal" test -f "$dir/skins/Mine.skn"
finish
