#!/usr/bin/env bash
# Interactive removal driven by keystrokes: the uninstaller runs the survey with the product name,
# the survey's report reaches the statistics server while the files are still there, and only then
# does the removal go on.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prepare_prefix
dir=$(unix_path "$DEFAULT_DIR")
start_stats_server "$dir/vireon.exe"
expect_eq "silent install exit code" 0 "$(install_silently)"

wine "$dir/$UNINSTALLER" >"$WORK/uninstaller.log" 2>&1 &
if confirm=$(wait_for_window "Vireon Uninstall"); then
    # The confirmation page: its default button starts the removal.
    press_keys "$confirm" Return
else
    fail_here "the uninstaller showed no window"
fi

if survey=$(wait_for_window Uninstall); then
    texts=$(window_texts Uninstall)
    check "the survey asks about Vireon" grep -qxF "Why have you made up your mind to remove Vireon?" <<<"$texts"
    check "nothing is removed while the survey is up" test -f "$dir/vireon.exe"
    # The caret starts in the free text of "Other"; Enter closes the window and sends the report.
    type_text "$survey" "too slow"
    press_keys "$survey" Return
else
    fail_here "the survey window did not appear"
fi
close_finished_uninstaller "$confirm" || fail_here "the uninstaller did not finish"
wait_for_removal_programs || fail_here "the removal did not end"

report=$(cat "$WORK/stats.log")
expect_eq "reports received" 1 "$(grep -c . <<<"$report")"
check "the report names the product and the answer ($report)" \
    grep -q '^/stat/uninstall.php?prj=Vireon&reason=Other%3a+too+slow&os=[^ ]* ' <<<"$report"
check "the report arrived before the files were removed ($report)" grep -q ' installed=yes$' <<<"$report"
expect_removed "$dir"
finish
