#!/usr/bin/env bash
# Serves stat/uninstall.php holding "OK" with Python's http.server on 127.0.0.1 (a free port) and
# sends one report to it: the report must count as delivered and the server must have logged it.
set -u
client=$1
work=$2
fail() { echo "FAILED: $*"; [ -f "$work/server.log" ] && cat "$work/server.log"; exit 1; }

rm -rf "$work"
mkdir -p "$work/www/stat"
printf 'OK' >"$work/www/stat/uninstall.php"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/www" >"$work/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null' EXIT

port=
for _ in $(seq 1 100); do
    port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || fail "http.server did not start"

UNINSTALL_STATS_HOST="127.0.0.1:$port" WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml=" \
    wine "$client" || fail "the report was not delivered"
grep -q '"GET /stat/uninstall.php?prj=Python+Check&reason=Unstable&os=[^ ]* HTTP/1.1" 200 ' "$work/server.log" ||
    fail "the server did not log the report"
echo "1 passed, 0 failed"
