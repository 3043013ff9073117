#!/usr/bin/env bash
# The setup's size and speed, each next to a bare baseline measured in the same run:
#  - Vireon-Setup.exe against the files it installs packed with `tar | xz -9` (also without the
#    uninstaller it writes: NSIS's own program code, about 100 KB, is a fixed part of both);
#  - silent install and silent removal under Wine against copying the same files with `cp -r`,
#    and against starting and ending a bare Windows program under Wine (Wine's own cost).
# Every run works in a Wine prefix of its own under build/testenv/installer/bench.
# Usage: tools/bench/installer.sh [runs]   (medians are printed; default 5 runs)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
runs=${1:-5}

if [ -z "${VIREON_BENCH_PREPARED:-}" ]; then
    ensure_packages
    prepare_environment
    configure_and_build
fi
[ -f "$BUILD_DIR/Vireon-Setup.exe" ] || { say "Vireon-Setup.exe was not built (is makensis installed?)"; exit 1; }
source "$VIREON_ROOT/tests/installer/lib.sh" "$BUILD_DIR" "$VIREON_ROOT" bench
prepare_prefix

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Size: against the build's files, and against every file the setup installs, that is those plus
# the uninstaller it writes (taken from an installation).
pack() { tar -cf - -T - | xz -9 | wc -c; }
setup_bytes=$(stat -c %s "$SETUP")
build_xz=$(cd "$BUILD_DIR/bin" && shipped_files | pack)
[ "$(install_silently)" = 0 ] || { say "the silent install failed"; exit 1; }
installed=$(unix_path "$DEFAULT_DIR")
installed_xz=$(cd "$installed" && { shipped_files; echo "$UNINSTALLER"; } | pack)
installed_bytes=$(cd "$installed" && du -cb --apparent-size . | tail -n 1 | cut -f1)
[ "$(uninstall_silently "$DEFAULT_DIR")" = 0 ] || { say "the silent removal failed"; exit 1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Times, in ms.
wine cmd /c exit >/dev/null 2>&1
copy_target=$(unix_path 'C:\Copied')
install_times=() uninstall_times=() copy_times=() bare_times=()
for _ in $(seq 1 "$runs"); do
    start=$(now_ms)
    wine cmd /c exit >/dev/null 2>&1
    bare_times+=($(($(now_ms) - start)))

    rm -rf "$copy_target"
    mkdir -p "$copy_target"
    start=$(now_ms)
    (cd "$BUILD_DIR/bin" && shipped_files | while IFS= read -r file; do
        mkdir -p "$copy_target/$(dirname "$file")" && cp -r "$file" "$copy_target/$file"
    done)
    sync -f "$copy_target"
    copy_times+=($(($(now_ms) - start)))

    start=$(now_ms)
    [ "$(run_and_wait "$SETUP" /S)" = 0 ] || { say "the silent install failed"; exit 1; }
    install_times+=($(($(now_ms) - start)))

    start=$(now_ms)
    [ "$(uninstall_silently "$DEFAULT_DIR")" = 0 ] || { say "the silent removal failed"; exit 1; }
    uninstall_times+=($(($(now_ms) - start)))
done

printf 'setup size:            %8d bytes  (installed files %d bytes, packed with xz -9: %d bytes, ratio %s; the build'"'"'s files alone packed: %d bytes, ratio %s; target <= 1.20)\n' \
    "$setup_bytes" "$installed_bytes" "$installed_xz" "$(ratio "$setup_bytes" "$installed_xz")" \
    "$build_xz" "$(ratio "$setup_bytes" "$build_xz")"
printf 'silent install:        %8d ms     (cp -r of the same files: %d ms; bare Wine program: %d ms; target <= 5000 ms)\n' \
    "$(printf '%s\n' "${install_times[@]}" | median)" "$(printf '%s\n' "${copy_times[@]}" | median)" \
    "$(printf '%s\n' "${bare_times[@]}" | median)"
printf 'silent uninstall:      %8d ms     (cp -r of the same files: %d ms; bare Wine program: %d ms; target <= 5000 ms)\n' \
    "$(printf '%s\n' "${uninstall_times[@]}" | median)" "$(printf '%s\n' "${copy_times[@]}" | median)" \
    "$(printf '%s\n' "${bare_times[@]}" | median)"
echo "medians of $runs runs"
