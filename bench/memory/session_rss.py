#!/usr/bin/env python3
"""Memory per session of the serving Apache child, and what it answers beyond the session cap.

Starts Apache with ribbonweb.so on a free loopback port (scripts/web-start.sh), opens WARM
sessions with one "View" each so that the process's caches and thread arenas are in place, reads
the child's resident size, opens SESSIONS more sessions with one "View" and one picture fetch
each, and reads it again: the growth divided by SESSIONS is the memory per idle session with a
picture. Then it asks for sessions beyond the cap (set to WARM + SESSIONS) and counts the
answers. Prints the numbers; exits 1 when a session costs more than LIMIT_KB.

Usage: bench/memory/session_rss.py [BUILD_DIR] [SESSIONS] [LIMIT_KB]
"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import urllib.parse
from concurrent.futures import ThreadPoolExecutor

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "integration"))
import browser_request  # noqa: E402
from serving_child import rss_kb, serving_child  # noqa: E402

BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(SOURCE, "build")
SESSIONS = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
LIMIT_KB = float(sys.argv[3]) if len(sys.argv) > 3 else 40.0
WARM = 300
VIEW = ("IW_Action=IWButton1&IW_ActionParam=&edtBarcode={data}&cmbBarType=3&cmbModul=1&"
        "cmbRatio=1&edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextShow=1&chkBitmap=On")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def request(port, method, path, body=None):
    status, _, data = browser_request.request(port, method, path, body)
    return status, data.decode("iso-8859-1")


def session_with_picture(port, n):
    status, page = request(port, "GET", "/ribbon/")
    if status != 200:
        return status
    action = re.search(r'action="([^"]+)"', page).group(1)
    status, page = request(port, "POST", action, VIEW.format(data=urllib.parse.quote(f"S{n:06d}")))
    src = re.search(r'<img[^>]*src="([^"]+)"', page)
    if status != 200 or not src:
        raise RuntimeError(f"View answered {status} without a picture")
    status, _ = request(port, "GET", src.group(1))
    return status


def main():
    tmp = tempfile.mkdtemp(prefix="ribbon-rss-")
    os.chmod(tmp, 0o755)
    root = os.path.join(tmp, "server")
    port = free_port()
    env = dict(os.environ, RIBBON_BUILD_DIR=BUILD, RIBBON_WEB_ROOT=root, RIBBON_WEB_PORT=str(port),
               RIBBON_WEB_MAX_SESSIONS=str(WARM + SESSIONS),
               RIBBON_WEB_MAX_SESSIONS_PER_CLIENT=str(WARM + SESSIONS))
    start = subprocess.run([os.path.join(SOURCE, "scripts", "web-start.sh")], env=env,
                           capture_output=True, text=True)
    if start.returncode != 0:
        print(start.stdout + start.stderr)
        return 1
    try:
        pid = serving_child(root)
        with ThreadPoolExecutor(8) as pool:
            assert all(s == 200 for s in pool.map(lambda n: session_with_picture(port, n), range(WARM)))
            before = rss_kb(pid)
            assert all(s == 200 for s in pool.map(lambda n: session_with_picture(port, n),
                                                 range(WARM, WARM + SESSIONS)))
            after = rss_kb(pid)
            beyond = list(pool.map(lambda n: request(port, "GET", "/ribbon/")[0], range(200)))
        per = (after - before) / SESSIONS
        cache = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(os.path.join(
            BUILD, "webdemo", "apache", "Cache")) for f in fs)
        print(f"serving child {pid}: RSS {before} kB after {WARM} sessions, {after} kB after "
              f"{SESSIONS} more: {per:.1f} kB per idle session with a picture")
        print(f"beyond the cap of {WARM + SESSIONS}: " + ", ".join(
            f"{beyond.count(s)} x {s}" for s in sorted(set(beyond))) +
              f"; server alive afterwards: {request(port, 'HEAD', '/ribbon/')[0] == 200}")
        print(f"picture cache: {cache / 1024 / 1024:.1f} MB")
        return 0 if per <= LIMIT_KB else 1
    finally:
        subprocess.run([os.path.join(SOURCE, "scripts", "web-stop.sh"), "--quiet"], env=env,
                       capture_output=True)
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
