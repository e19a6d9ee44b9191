"""The process of a server of ours that serves the requests: the child of the Apache whose pid
file is under the server's root, and its resident memory, for the integration tests and the
memory benchmarks (bench/memory/)."""

import os
import re
import subprocess
import time


def serving_child(root, other_than=None, wait=15):
    """The pid of a child of the server at `root` other than `other_than`, waiting up to `wait`
    seconds for one (the port may answer before the pid file is written)."""
    deadline = time.time() + wait
    while time.time() < deadline:
        try:
            with open(os.path.join(root, "run", "httpd.pid")) as f:
                parent = f.read().strip()
        except FileNotFoundError:
            parent = ""
        pids = [int(p) for p in subprocess.run(["pgrep", "-P", parent], capture_output=True,
                                               text=True).stdout.split()] if parent else []
        pids = [p for p in pids if p != other_than]
        if pids:
            return pids[0]
        time.sleep(0.1)
    raise RuntimeError("no serving child after %d s" % wait)


def rss_kb(pid):
    """The resident set of the process, in kB."""
    with open(f"/proc/{pid}/status") as f:
        return int(re.search(r"VmRSS:\s+(\d+) kB", f.read()).group(1))
