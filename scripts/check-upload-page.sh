#!/usr/bin/env bash
# Opens the web upload page in a real browser (headless Chromium) against a
# local HTTP server standing in for the upload host, and checks that the
# page's refresh and its link both lead to the upload address.
#
#   scripts/check-upload-page.sh [BUILD_DIR] [PICTURE]
#
# Needs chromium and python3. Runs on a private settings file, temporary and
# browser profile folders; prints what it compared and ends 0 when both match.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
picture="${2:-$here/tests/fixtures/nlm/diagonal.nlm}"
command -v chromium >/dev/null || { echo "chromium is not installed" >&2; exit 2; }

work="$(mktemp -d)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The stand-in upload host: logs every request it gets.
mkdir -p "$work/www" "$work/tmp"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/www" 2>"$work/server.log" >/dev/null &
server_pid=$!
for _ in $(seq 50); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
  sleep 0.1
done

export LOGO_SETTINGS_FILE="$work/settings.ini"
printf '[Quillet%%20Settings]\nWebHost=127.0.0.1:%s\n' "$port" >"$LOGO_SETTINGS_FILE"
export TMPDIR="$work/tmp"

address="$("$build/logotool" upload-url "$picture" --program quillet)"
page="$("$build/logotool" upload-page "$picture" --program quillet)"
echo "address: $address"
echo "page:    $page"

browser() {
  timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$(mktemp -d "$work/profile.XXXX")" "$@" 2>/dev/null
}

# 1. The refresh: the browser opens the page and goes on to the upload host.
browser --virtual-time-budget=5000 --dump-dom "file://$page" >/dev/null
requested="$(grep -o 'GET [^ ]*' "$work/server.log" | head -n 1 | cut -c5-)"
echo "refresh: http://127.0.0.1:$port$requested"

# 2. The link, as the browser's own parser reads the page.
cat >"$work/tmp/read-link.html" <<EOF
<html><body><script>
const r = new XMLHttpRequest();
r.open("GET", "file://$page", false);
r.send();
const doc = new DOMParser().parseFromString(r.responseText, "text/html");
document.body.textContent = "LINK " + doc.querySelector("a").href;
</script></body></html>
EOF
link="$(browser --allow-file-access-from-files --dump-dom "file://$work/tmp/read-link.html" |
        grep -o 'LINK [^<]*' | cut -c6- | sed 's/&amp;/\&/g')"
echo "link:    $link"

status=0
[ "http://127.0.0.1:$port$requested" = "$address" ] || { echo "FAIL: the refresh went elsewhere"; status=1; }
[ "$link" = "$address" ] || { echo "FAIL: the link leads elsewhere"; status=1; }
[ $status -eq 0 ] && echo "OK: refresh and link both lead to the upload address"
exit $status
