#!/usr/bin/env bash
# Serves stat/uninstall.php holding "OK" (no final line end) with Python's http.server on 127.0.0.1
# (a free port), once speaking HTTP/1.0 and once HTTP/1.1 with keep-alive, and sends one report to
# each: the report must count as delivered, well within the wait, and the server must have logged it.
set -u
client=$1
work=$2
fail() { echo "FAILED: $*"; [ -f "$work/server.log" ] && cat "$work/server.log"; exit 1; }

server=
trap '[ -n "$server" ] && kill $server 2>/dev/null; wait 2>/dev/null' EXIT
for protocol in HTTP/1.0 HTTP/1.1; do
    rm -rf "$work"
    mkdir -p "$work/www/stat"
    printf 'OK' >"$work/www/stat/uninstall.php"
    python3 -u -m http.server 0 --bind 127.0.0.1 --protocol "$protocol" --directory "$work/www" \
        >"$work/server.log" 2>&1 &
    server=$!
    port=
    for _ in $(seq 1 100); do
        port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || fail "http.server did not start"
    start=$(date +%s%N)
    UNINSTALL_STATS_HOST="127.0.0.1:$port" WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml=" \
        wine "$client" || fail "$protocol: the report was not delivered"
    elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
    grep -q '"GET /stat/uninstall.php?prj=Python+Check&reason=Unstable&os=[^ ]* HTTP/1.1" 200 ' "$work/server.log" ||
        fail "$protocol: the server did not log the report"
    # The wait is 10 s; a delivered report ends long before (the time includes Wine's start).
    [ "$elapsed" -lt 8000 ] || fail "$protocol: took $elapsed ms"
    echo "$protocol: delivered in $elapsed ms"
    kill $server 2>/dev/null
    wait $server 2>/dev/null
    server=
done
echo "2 passed, 0 failed"
