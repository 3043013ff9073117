#!/usr/bin/env bash
# Awkward situations: a folder name with blanks and non-ASCII letters, a folder that cannot be
# written, a second removal after the first, a removal while the player runs, and a survey program
# that is missing or broken.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prepare_prefix
dir=$(unix_path "$DEFAULT_DIR")
start_stats_server "$dir/vireon.exe"

# --- A folder with blanks and non-ASCII letters.
odd_dir='C:\Données partagées\Vidéo Ünïcode ñ'
odd=$(unix_path "$odd_dir")
expect_eq "install into '$odd_dir': exit code" 0 "$(install_silently "/D=$odd_dir")"
expect_installed_in "$odd"
expect_eq "InstallLocation of the odd folder" "$odd_dir" "$(key_value InstallLocation "$(uninstall_key_values)")"
check "the shortcut leads into the odd folder" shortcut_points_to "$(start_menu_dir)/Vireon.lnk" "$odd_dir\\vireon.exe"
start_installed_player >/dev/null || fail_here "the player in the odd folder showed no window"
close_player || fail_here "the player did not close"
expect_eq "uninstall from the odd folder: exit code" 0 "$(uninstall_silently "$odd_dir")"
expect_removed "$odd"
check "the odd folder is removed" test ! -e "$odd"

# --- A folder that cannot be written: reported, nothing half installed, nothing registered.
locked=$(unix_path 'C:\Locked')
mkdir -p "$locked"
if [ "$(id -u)" -eq 0 ]; then chattr +i "$locked" 2>/dev/null; else chmod 555 "$locked"; fi
if touch "$locked/probe" 2>/dev/null; then
    rm -f "$locked/probe"
    echo "SKIPPED: this file system cannot make a folder read-only here"
else
    expect_eq "install into a read-only folder: exit code" 4 "$(install_silently '/D=C:\Locked')"
    expect_eq "install below a read-only folder: exit code" 4 "$(install_silently '/D=C:\Locked\Vireon')"
    expect_eq "files written into the read-only folder" "" "$(ls -A "$locked")"
    expect_eq "uninstall key after the refused install" "" "$(uninstall_key_values)"
    check "no start menu folder after the refused install" test ! -e "$(start_menu_dir)"
fi
chattr -i "$locked" 2>/dev/null
chmod 755 "$locked"

# --- A second removal after the first: one clear message, no loop; silently just an exit code.
expect_eq "install exit code" 0 "$(install_silently)"
cp "$dir/$UNINSTALLER" "$WORK/kept-uninstaller.exe"
expect_eq "first uninstall exit code" 0 "$(uninstall_silently "$DEFAULT_DIR")"
kept=$(windows_path "$WORK/kept-uninstaller.exe")
expect_eq "second silent uninstall exit code" 5 "$(uninstall_in_place "$DEFAULT_DIR" "$kept")"
wine "$HELPER" run "\"$kept\" _?=$DEFAULT_DIR" >/dev/null 2>&1 &
if message=$(wait_for_window "Vireon Uninstall"); then
    check "the second removal says there is nothing to remove" grep -qxF \
        "Vireon is not installed in \"$DEFAULT_DIR\"; there is nothing to remove." <<<"$(window_texts "Vireon Uninstall")"
    press_keys "$message" Return
else
    fail_here "the second removal showed no message"
fi
wait_for_removal_programs || fail_here "the second removal did not end after its message"
check_not "no window is left after the message" window_shows "Vireon Uninstall" 1

# --- A removal while the player runs: reported, nothing removed; silently, and by the user's choice.
expect_eq "install exit code" 0 "$(install_silently)"
start_installed_player >/dev/null || fail_here "the player showed no window"
expect_eq "silent uninstall while the player runs: exit code" 3 "$(uninstall_in_place "$DEFAULT_DIR")"
uninstall_silently "$DEFAULT_DIR" >/dev/null
expect_installed_in "$dir"
expect_eq "uninstall key kept" "Vireon" "$(key_value DisplayName "$(uninstall_key_values)")"
wine "$dir/$UNINSTALLER" >/dev/null 2>&1 &
confirm=$(wait_for_window "Vireon Uninstall") && press_keys "$confirm" Return
if [ -n "$confirm" ] && window_texts "Vireon Uninstall" | grep -qxF "Vireon is running; close it and retry"; then
    # Cancel: the box has the focus.
    xdotool key Escape
else
    fail_here "the removal did not report the running player"
fi
sleep 2
expect_installed_in "$dir"
close_player || fail_here "the player did not close"
wait_for_removal_programs || fail_here "the cancelled removal did not end"
expect_eq "reports sent by the cancelled removal" "" "$(cat "$WORK/stats.log")"

# --- A missing survey program, then a broken one: the interactive removal still completes.
for survey_program in missing broken; do
    [ -e "$dir/vireon.exe" ] || expect_eq "install exit code" 0 "$(install_silently)"
    if [ $survey_program = missing ]; then
        rm -f "$dir/Uninstall.exe"
    else
        printf 'not a program' >"$dir/Uninstall.exe"
    fi
    wine "$dir/$UNINSTALLER" >/dev/null 2>&1 &
    if confirm=$(wait_for_window "Vireon Uninstall"); then
        press_keys "$confirm" Return
    else
        fail_here "the uninstaller showed no window ($survey_program survey)"
    fi
    close_finished_uninstaller "$confirm" || fail_here "the uninstaller did not finish ($survey_program survey)"
    wait_for_removal_programs || fail_here "the removal with a $survey_program survey did not end"
    expect_removed "$dir"
done
expect_eq "reports sent without a working survey" "" "$(cat "$WORK/stats.log")"
finish
