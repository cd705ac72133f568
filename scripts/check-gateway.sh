#!/usr/bin/env bash
# Drives the upload gateway in a real browser (headless Chromium): the
# windows' upload address opens the form, the number is typed and Send
# clicked, the status page follows the job until it is sent, and the
# simulated phone must have received exactly the message `logotool send`
# would have sent.
#
#   scripts/check-gateway.sh [BUILD_DIR] [PICTURE]
#
# Needs chromium and python3, and logotool and phonesim built. Runs on private
# settings, data and browser folders; ends 0 when the phone got the message.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
picture="${2:-$here/tests/fixtures/nlm/diagonal.nlm}"
command -v chromium >/dev/null || { echo "chromium is not installed" >&2; exit 2; }
for tool in logotool phonesim; do
  [ -x "$build/$tool" ] || { echo "$build/$tool is not built" >&2; exit 2; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export LOGO_SETTINGS_FILE="$work/settings.ini" LOGO_DATA_DIR="$work/data"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
printf '[Brisvane%%20Settings]\nWebHost=127.0.0.1:%s\n' "$port" >"$LOGO_SETTINGS_FILE"
smsc=491710760000
to=+491711234567

"$build/phonesim" --log "$work/pdus.txt" --seconds 120 >"$work/phonesim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q '^device ' "$work/phonesim.out" 2>/dev/null && break; sleep 0.1; done
device="$(sed -n 's/^device //p' "$work/phonesim.out")"
[ -n "$device" ] || { echo "phonesim did not start" >&2; exit 1; }

"$build/logotool" serve --listen "127.0.0.1:$port" --device "$device" --smsc "$smsc" --quick \
  --db "$work/queue.sqlite" 2>"$work/serve.log" &
pids+=($!)
for _ in $(seq 50); do grep -q '^listening' "$work/serve.log" 2>/dev/null && break; sleep 0.1; done

address="$("$build/logotool" upload-url "$picture" --program brisvane --mcc 262 --mnc 01)"
expected="$("$build/logotool" pdu submit "$picture" --program brisvane --mcc 262 --mnc 01 --to "$to" --smsc "$smsc" | tail -n 1)"
echo "address:  $address"

# The browser on the DevTools protocol over a pipe (file descriptors 3 and 4),
# which needs nothing beyond Python's own library.
python3 - "$address" "$to" "$work/profile" <<'PY'
import json, os, subprocess, sys, time
address, number, profile = sys.argv[1:4]
to_browser, from_us = os.pipe()
to_us, from_browser = os.pipe()
def pipes():
    a, b = os.dup(to_browser), os.dup(from_browser)
    os.dup2(a, 3); os.dup2(b, 4)
browser = subprocess.Popen(
    ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
     "--disable-background-networking", "--disable-component-update", "--remote-debugging-pipe",
     "--user-data-dir=" + profile, "about:blank"],
    preexec_fn=pipes, close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
os.close(to_browser); os.close(from_browser)
pending, counter = b"", 0
def call(method, params=None, session=None):
    global pending, counter
    counter += 1
    message = {"id": counter, "method": method, "params": params or {}}
    if session:
        message["sessionId"] = session
    os.write(from_us, json.dumps(message).encode() + b"\0")
    while True:
        while b"\0" not in pending:
            chunk = os.read(to_us, 65536)
            if not chunk:
                sys.exit("the browser ended")
            pending += chunk
        line, pending = pending.split(b"\0", 1)
        answer = json.loads(line)
        if answer.get("id") == counter:
            if "error" in answer:
                sys.exit("%s: %s" % (method, answer["error"]))
            return answer["result"]
def evaluate(session, expression):
    return call("Runtime.evaluate", {"expression": expression, "returnByValue": True}, session)["result"].get("value")
def wait_for(session, expression, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            value = evaluate(session, expression)
        except SystemExit:
            value = None   # the page was between two loads
        if value:
            return value
        time.sleep(0.2)
    sys.exit("gave up waiting for " + expression)
try:
    target = call("Target.createTarget", {"url": address})["targetId"]
    session = call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
    print("form:    ", wait_for(session, "document.readyState == 'complete' && document.getElementById('to') && document.title"))
    evaluate(session, "document.getElementById('to').value = %s; document.getElementById('send').click(); true" % json.dumps(number))
    print("status:  ", wait_for(session, "location.pathname.startsWith('/jobs/') && location.pathname"))
    state = wait_for(session, "(s => s && ['sent', 'failed'].includes(s.textContent) && s.textContent + ': ' + "
                              "document.getElementById('message').textContent)(document.getElementById('state'))")
    print("job:     ", state)
finally:
    browser.kill()
PY

got="$(cat "$work/pdus.txt" 2>/dev/null || true)"
echo "expected: $expected"
echo "phone:    $got"
if [ "$got" = "$expected" ]; then
  echo "OK: the browser's form sent the picture to the phone once, with its network code"
else
  echo "FAIL: the phone did not receive the message of the picture"
  cat "$work/serve.log"
  exit 1
fi
