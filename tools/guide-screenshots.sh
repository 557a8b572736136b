#!/usr/bin/env bash
# Shows the user guide as a browser draws it, on a desktop screen (1280
# pixels wide) and on a phone (400 pixels wide, as a phone lays a page out):
# the guide as the zip ships it (pictures inside) is drawn by Debian's
# headless Chromium, which is installed first when missing. For each width
# it writes into the out folder
#   guide-<width>-<nn>.png     the whole page in screen-high pieces
# and fails when something is wider than the screen (the page would scroll
# sideways), an id is used twice or a link inside the page leads nowhere.
# Not part of the tests: run it after changing the guide and look at the
# pictures.
#   tools/guide-screenshots.sh [out-folder]     (default build/guide-screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/guide-screenshots}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
browser=$(command -v chromium || true)
if [ -z "$browser" ]; then
  echo "guide-screenshots: installing Debian's chromium"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=600 chromium fonts-ipafont-gothic >/dev/null
  browser=$(command -v chromium)
fi

version=$(sed -n 's/^project(Quandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
rm -rf "$out"
mkdir -p "$out"
tools/embed-pictures.sh docs/ja/guide.html "$version" >"$out/guide.html"

# The browser is driven through its DevTools protocol on a pipe (JSON
# messages ended by a zero byte; it reads fd 3 and writes fd 4), so one
# browser measures the page and photographs all of it, beyond the screen's
# height too.
python3 - "$browser" "$PWD/$out" <<'END_OF_PYTHON'
import base64, json, os, subprocess, sys

browser, out = sys.argv[1], sys.argv[2]
to_browser_r, to_browser_w = os.pipe()
from_browser_r, from_browser_w = os.pipe()

def child_fds():
    # Copies first: a pipe end may already be fd 3 or 4, and a dup2 onto
    # itself would keep it closing at exec.
    r, w = os.dup(to_browser_r), os.dup(from_browser_w)
    os.dup2(r, 3)
    os.dup2(w, 4)

# --no-sandbox: the sandbox needs user namespaces, which containers and root
# sessions often lack.
proc = subprocess.Popen([browser, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                         "--mute-audio", "--no-first-run", "--disable-extensions",
                         "--remote-debugging-pipe", "about:blank"],
                        preexec_fn=child_fds, close_fds=False,
                        stdout=subprocess.DEVNULL, stderr=open(out + "/browser.log", "w"))
os.close(to_browser_r)
os.close(from_browser_w)
reader = os.fdopen(from_browser_r, "rb")
pending = b""
next_id = 0

def receive():
    global pending
    while b"\0" not in pending:
        chunk = reader.read1(1 << 20)
        if not chunk:
            sys.exit("guide-screenshots: the browser ended")
        pending += chunk
    message, pending = pending.split(b"\0", 1)
    return json.loads(message)

def call(method, session=None, **params):
    global next_id
    next_id += 1
    message = {"id": next_id, "method": method, "params": params}
    if session:
        message["sessionId"] = session
    os.write(to_browser_w, json.dumps(message).encode() + b"\0")
    while True:
        answer = receive()
        if answer.get("id") == next_id:
            if "error" in answer:
                sys.exit(f"guide-screenshots: {method}: {answer['error']}")
            return answer["result"]

def wait_for(event, session):
    while True:
        message = receive()
        if message.get("method") == event and message.get("sessionId") == session:
            return

MEASURE = r"""(() => {
  const screen = document.documentElement.clientWidth;
  const wide = [];
  for (const e of document.body.querySelectorAll("*")) {
    const right = e.getBoundingClientRect().right;
    if (right > screen + 1 && e.parentElement.getBoundingClientRect().right <= screen + 1)
      wide.push(e.tagName.toLowerCase() + (e.id ? "#" + e.id : "") + " (" + Math.round(right) + " px)");
  }
  const seen = new Set(), twice = [];
  for (const e of document.querySelectorAll("[id]")) {
    if (seen.has(e.id)) twice.push(e.id);
    seen.add(e.id);
  }
  const nowhere = [...document.querySelectorAll('a[href^="#"]')]
    .map(a => a.getAttribute("href").slice(1)).filter(id => !document.getElementById(id));
  return {screen, height: document.documentElement.scrollHeight, wide, twice, nowhere};
})()"""

status = 0
target = call("Target.createTarget", url="about:blank")["targetId"]
session = call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
call("Page.enable", session)
for width, phone, piece in ((1280, False, 1000), (400, True, 800)):
    call("Emulation.setDeviceMetricsOverride", session, width=width, height=piece, deviceScaleFactor=1,
         mobile=phone)
    call("Page.navigate", session, url="file://" + out + "/guide.html")
    wait_for("Page.loadEventFired", session)
    report = call("Runtime.evaluate", session, expression=MEASURE, returnByValue=True)["result"]["value"]
    print(f"{width} px: {json.dumps(report, ensure_ascii=False)}")
    for problem in ("wide", "twice", "nowhere"):
        if report[problem]:
            print(f"guide-screenshots: at {width} px, {problem}: {report[problem]}", file=sys.stderr)
            status = 1
    pieces = []
    for n, y in enumerate(range(0, report["height"], piece)):
        clip = {"x": 0, "y": y, "width": width, "height": min(piece, report["height"] - y), "scale": 1}
        shot = call("Page.captureScreenshot", session, format="png", clip=clip, captureBeyondViewport=True)
        name = f"{out}/guide-{width}-{n:02d}.png"
        with open(name, "wb") as f:
            f.write(base64.b64decode(shot["data"]))
        pieces.append(name)
    print(f"{out}/guide-{width}-NN.png: {len(pieces)} pieces of {width} x {piece} px, {report['height']} px in all")
call("Browser.close")
proc.wait(timeout=30)
sys.exit(status)
END_OF_PYTHON
