#!/usr/bin/env python3
"""Disk taken by the picture cache under many "View"s, against its quota.

Starts Apache with a copy of ribbonweb.so in a folder of its own (so its Cache/ holds only this
run's pictures) and RIBBON_WEB_CACHE_QUOTA_MB=QUOTA_MB, posts VIEWS "View"s spread over 50
sessions from 8 threads, fetching every picture, and samples the cache's disk use (whole blocks,
as du counts them) while it runs and at the end. Exits 1 when it passed the quota or a View
failed.

Usage: bench/memory/cache_quota.py [BUILD_DIR] [VIEWS] [QUOTA_MB]
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session_rss import SOURCE, VIEW, free_port, request  # noqa: E402

BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(SOURCE, "build")
VIEWS = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
QUOTA_MB = int(sys.argv[3]) if len(sys.argv) > 3 else 8
SESSIONS = 50


def disk_use(folder):
    total = 0
    for entry in os.scandir(folder):
        try:
            total += entry.stat(follow_symlinks=False).st_blocks * 512
        except FileNotFoundError:  # deleted meanwhile
            pass
    return total


def views(port, n, count):
    status, page = request(port, "GET", "/ribbon/")
    failed = 0
    for i in range(count):
        action = re.search(r'action="([^"]+)"', page).group(1)
        status, page = request(port, "POST", action,
                               VIEW.format(data=urllib.parse.quote(f"Q{n:03d}{i:05d}")))
        src = re.search(r'<img[^>]*src="([^"]+)"', page)
        if status != 200 or not src or request(port, "GET", src.group(1))[0] != 200:
            failed += 1
            status, page = request(port, "GET", "/ribbon/")
    return failed


def main():
    tmp = tempfile.mkdtemp(prefix="ribbon-quota-")
    os.chmod(tmp, 0o755)
    module_dir = os.path.join(tmp, "module")
    os.makedirs(module_dir)
    os.chmod(module_dir, 0o777)
    built = os.path.join(BUILD, "webdemo", "apache")
    shutil.copy(os.path.join(built, "ribbonweb.so"), module_dir)
    shutil.copy(os.path.join(built, "Back.bmp"), module_dir)
    port = free_port()
    env = dict(os.environ, RIBBON_BUILD_DIR=BUILD, RIBBON_WEB_ROOT=os.path.join(tmp, "server"),
               RIBBON_WEB_PORT=str(port), RIBBON_WEB_CACHE_QUOTA_MB=str(QUOTA_MB),
               RIBBON_WEB_MODULE=os.path.join(module_dir, "ribbonweb.so"))
    start = subprocess.run([os.path.join(SOURCE, "scripts", "web-start.sh")], env=env,
                           capture_output=True, text=True)
    if start.returncode != 0:
        print(start.stdout + start.stderr)
        return 1
    cache = os.path.join(module_dir, "Cache")
    largest, done = [0], threading.Event()

    def sample():
        while not done.is_set():
            largest[0] = max(largest[0], disk_use(cache))
            time.sleep(0.2)

    sampler = threading.Thread(target=sample)
    sampler.start()
    began = time.time()
    try:
        with ThreadPoolExecutor(8) as pool:
            failed = sum(pool.map(lambda n: views(port, n, VIEWS // SESSIONS), range(SESSIONS)))
    finally:
        done.set()
        sampler.join()
        subprocess.run([os.path.join(SOURCE, "scripts", "web-stop.sh"), "--quiet"], env=env,
                       capture_output=True)
    final = disk_use(cache)
    quota = QUOTA_MB << 20
    print(f"{VIEWS} Views in {time.time() - began:.1f} s, {failed} failed; picture cache "
          f"{final / 1048576:.2f} MB on disk at the end, at most {largest[0] / 1048576:.2f} MB "
          f"while running; quota {QUOTA_MB} MB")
    shutil.rmtree(tmp, ignore_errors=True)
    # A scan of a changing folder can see a deleted file and its replacement both: the samples
    # get a few pictures of slack, the quiet folder at the end none.
    return 0 if final <= quota and largest[0] <= quota + (64 << 10) and failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
