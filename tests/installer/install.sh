#!/usr/bin/env bash
# Silent install into a fresh prefix: files, shortcuts and the uninstall key; the installed player
# starts from its shortcut and shows its window; silent removal runs no survey and leaves nothing,
# except files the user put into the folder.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prepare_prefix
dir=$(unix_path "$DEFAULT_DIR")
start_stats_server "$dir/vireon.exe"

expect_eq "silent install exit code" 0 "$(install_silently)"
expect_installed_in "$dir"

menu=$(start_menu_dir)
check "start menu shortcut to the player" shortcut_points_to "$menu/Vireon.lnk" "$DEFAULT_DIR\\vireon.exe"
check "start menu shortcut to the uninstaller" \
    shortcut_points_to "$menu/Uninstall Vireon.lnk" "$DEFAULT_DIR\\$UNINSTALLER"
check "desktop shortcut to the player" shortcut_points_to "$(desktop_link)" "$DEFAULT_DIR\\vireon.exe"

values=$(uninstall_key_values)
expect_eq "DisplayName" "Vireon" "$(key_value DisplayName "$values")"
expect_eq "DisplayVersion" "1.0.0" "$(key_value DisplayVersion "$values")"
expect_eq "Publisher" "Vireon" "$(key_value Publisher "$values")"
expect_eq "DisplayIcon" "$DEFAULT_DIR\\vireon.exe,0" "$(key_value DisplayIcon "$values")"
expect_eq "InstallLocation" "$DEFAULT_DIR" "$(key_value InstallLocation "$values")"
expect_eq "UninstallString" "\"$DEFAULT_DIR\\$UNINSTALLER\"" "$(key_value UninstallString "$values")"
expect_eq "QuietUninstallString" "\"$DEFAULT_DIR\\$UNINSTALLER\" /S" "$(key_value QuietUninstallString "$values")"
# The estimated size is in KB and covers what was installed.
size_kb=$(($(key_value EstimatedSize "$values")))
installed_kb=$(du -sk --apparent-size "$dir" | cut -f1)
check "EstimatedSize ($size_kb KB) matches the folder ($installed_kb KB)" \
    test "$size_kb" -ge $((installed_kb * 9 / 10)) -a "$size_kb" -le $((installed_kb * 11 / 10 + 8))

# The installed player, started as a user would, shows its window.
if window=$(start_installed_player); then
    import -window "$window" "$WORK/player.png"
    # The skinned player (it ends without its installed skin): most of it is the black video area.
    dark=$(convert "$WORK/player.png" -fill white -opaque '#000000' -fill black +opaque white -format '%[fx:mean]' info:)
    check "the player's skinned window shows its video area (screenshot $WORK/player.png, $dark)" \
        python3 -c "import sys; sys.exit(0 if float('$dark') > 0.5 else 1)"
else
    fail_here "the installed player showed no window"
fi
close_player || fail_here "the player did not close"

expect_eq "silent uninstall exit code" 0 "$(uninstall_silently "$DEFAULT_DIR")"
expect_removed "$dir"
check "the emptied install folder is removed" test ! -e "$dir"
expect_eq "reports sent by a silent removal" "" "$(cat "$WORK/stats.log")"

# Files the user put into the folder stay, and so does the folder.
expect_eq "second install exit code" 0 "$(install_silently)"
touch "$dir/My playlist.txt" "$dir/skins/My own.skn"
expect_eq "second silent uninstall exit code" 0 "$(uninstall_silently "$DEFAULT_DIR")"
expect_removed "$dir"
check "the user's file stays" test -f "$dir/My playlist.txt"
check "the user's skin stays" test -f "$dir/skins/My own.skn"
finish
