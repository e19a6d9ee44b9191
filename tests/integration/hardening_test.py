#!/usr/bin/env python3
"""ribbonweb.so inside a real Apache on 127.0.0.1 under abuse and faults: a client flooding it
with sessions, a full session table, an unwritable picture cache, the serving child killed
under load, and 200 stalled connections. Servers are started by the shipped scripts, as in
apache_test.py, whose helpers this uses.

Usage: hardening_test.py BUILD_DIR SOURCE_DIR
Exits 77 (skipped) only when a hard prerequisite is missing.
"""

import html
import http.client
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import apache_test as at  # noqa: E402
import browser_request  # noqa: E402
from serving_child import serving_child  # noqa: E402

VIEW_TIMEOUT = 30  # seconds; a request that takes longer counts as hung


def request(server, method, path, body=None, source="127.0.0.1"):
    """One request from a chosen loopback address (all of 127/8 reaches the server)."""
    return browser_request.request(server.port, method, path, body, VIEW_TIMEOUT, source)


class Client(at.Browser):
    """A browser whose requests leave from one loopback address."""

    def __init__(self, server, source="127.0.0.1"):
        super().__init__(server)
        self.source = source
        outer = self

        class Sender:
            port = server.port

            def request(self, method, path, body=None, headers=None):
                return request(server, method, path, body, outer.source)

        self.server = Sender()


def complete_jpeg(data):
    return data.endswith(b"\xff\xd9") and at.jpeg_size(data) == (500, 200)


class Hardening(at.TempServers):
    PREFIX = "ribbonweb-hard-"

    def server(self, threads=16, **limits):
        folder = os.path.join(self.tmp, "module%d" % len(self.servers))
        os.makedirs(folder)
        os.chmod(folder, 0o777)
        shutil.copy(at.MODULE, folder)
        shutil.copy(os.path.join(os.path.dirname(at.MODULE), "Back.bmp"), folder)
        server = at.Server(os.path.join(self.tmp, "s%d" % len(self.servers)),
                           module=os.path.join(folder, "ribbonweb.so"))
        server.env["RIBBON_WEB_THREADS"] = str(threads)
        for name, value in limits.items():
            server.env["RIBBON_WEB_" + name.upper()] = str(value)
        server.cache = os.path.join(folder, "Cache")
        self.servers.append(server)
        started = server.start()
        self.assertEqual(started.returncode, 0, started.stderr + server.error_log())
        return server

    def working(self, client, data):
        """Posts a View and checks that it drew: the picture is there and nothing was lost."""
        page = client.view(data)
        self.assertEqual(page.status, 200, page.text[:300])
        self.assertNotIn(at.SESSION_NOT_FOUND, page.text)
        self.assertIsNone(page.alert)
        self.assertTrue(complete_jpeg(client.picture()))

    def test_flooding_client_cannot_keep_others_out(self):
        server = self.server(max_sessions=60, max_sessions_per_client=10)
        users = [Client(server) for _ in range(3)]
        for n, user in enumerate(users):
            self.assertEqual(user.open().status, 200)
            self.working(user, "USER%d" % n)

        answers = []

        def flood(source, limit):
            for _ in range(limit):
                answers.append(request(server, "GET", "/ribbon/", source=source)[0])

        # One client flat out, and twenty more that together fill the table with sessions
        # that never post.
        flooders = [threading.Thread(target=flood, args=("127.0.0.2", 150)) for _ in range(4)]
        flooders += [threading.Thread(target=flood, args=("127.0.1.%d" % i, 5)) for i in range(20)]
        for t in flooders:
            t.start()
        rounds = 0
        try:
            while rounds < 3 or any(t.is_alive() for t in flooders):
                for n, user in enumerate(users):
                    self.working(user, "USER%d%d" % (n, rounds))
                if rounds < 10:  # newcomers that stay: well below the table's size
                    newcomer = Client(server, "127.0.3.%d" % rounds)
                    self.assertEqual(newcomer.open().status, 200)
                    self.working(newcomer, "NEW%d" % rounds)
                rounds += 1
        finally:
            for t in flooders:
                t.join(timeout=4 * VIEW_TIMEOUT)
        self.assertEqual(len(answers), 700)
        self.assertEqual(set(answers), {200}, "a flood of fresh sessions is never refused")
        for n, user in enumerate(users):
            self.working(user, "AFTER%d" % n)

    def test_full_table_answers_server_busy_and_lives_on(self):
        server = self.server(max_sessions=4, max_sessions_per_client=4)
        users = [Client(server, "127.0.2.%d" % i) for i in range(4)]
        for user in users:
            user.open()
            self.working(user, "FULL")
        status, headers, body = request(server, "GET", "/ribbon/", source="127.0.2.9")
        self.assertEqual(status, 503)
        self.assertEqual(headers.get("retry-after"), "30")
        self.assertIn(b"Server busy", body)
        for user in users:
            self.working(user, "STILL")

    def test_unwritable_cache_is_an_error_page_and_the_same_post_then_works(self):
        server = self.server()
        user = Client(server)
        user.open()
        self.working(user, "BEFORE")
        posted = user.page
        os.chmod(server.cache, 0o555)
        if os.geteuid() != 0 and os.access(server.cache, os.W_OK):
            self.skipTest("this user can write a read-only folder")
        try:
            failed = user.view("DURING")
        finally:
            os.chmod(server.cache, 0o755)
        self.assertEqual(failed.status, 503)
        self.assertIn("The page could not be made: Cannot create a picture file", failed.text)
        self.assertIn(">Try again<", failed.text)
        # The browser's retry sends the same post to the same address.
        retried = user.post({"edtBarcode": "DURING"}, page=posted)
        self.assertEqual(retried.status, 200)
        self.assertIsNone(retried.alert, "no resync warning")
        self.assertEqual(at.decode(user.picture(), self.tmp), ["DURING"])

    def test_killed_child_is_replaced_and_lost_sessions_say_so(self):
        server = self.server()
        first = serving_child(server.root)
        stop, failures, pictures, errors = threading.Event(), [], [0], [0]

        def load(n):
            while not stop.is_set():
                user = Client(server)
                try:
                    if user.open().status != 200:
                        continue
                    for i in range(3):
                        page = user.view("K%d%d" % (n, i))
                        if page.status != 200 or page.picture is None:
                            break
                        status, _, data = request(server, "GET", html.unescape(page.picture))
                        if status == 200:
                            if not complete_jpeg(data):
                                failures.append("a broken picture was served")
                            pictures[0] += 1
                except socket.timeout:
                    failures.append("a request hung")
                except (ConnectionError, http.client.HTTPException):
                    errors[0] += 1  # cut off with the killed child

        workers = [threading.Thread(target=load, args=(n,)) for n in range(6)]
        for t in workers:
            t.start()
        try:
            survivor = Client(server)
            survivor.open()
            self.working(survivor, "LOST")
            time.sleep(2)
            os.kill(first, signal.SIGKILL)
            second = serving_child(server.root, other_than=first)
            time.sleep(2)
        finally:
            stop.set()
            for t in workers:
                t.join(timeout=2 * VIEW_TIMEOUT)
        self.assertFalse(any(t.is_alive() for t in workers), "a request hung")
        self.assertEqual(failures, [])
        self.assertGreater(pictures[0], 10)
        self.assertNotEqual(second, first)

        lost = survivor.view("LOST")
        self.assertIn(at.SESSION_NOT_FOUND, lost.text)
        link = re.search(r'<a href="([^"]+)">Start a new session</a>', lost.text)
        self.assertIsNotNone(link, lost.text)
        status, _, body = request(server, "GET", html.unescape(link.group(1)))
        fresh = Client(server)
        fresh.page = at.Page(status, body)
        self.assertEqual(status, 200)
        self.working(fresh, "FRESH")

    def test_stalled_connections_do_not_keep_the_page_from_others(self):
        server = self.server(threads=64)
        stalled = []
        try:
            for _ in range(200):
                s = socket.create_connection(("127.0.0.1", server.port), timeout=VIEW_TIMEOUT)
                s.sendall(b"GET /ribbon/ HTTP/1.1\r\nHost: 127.0.0.1\r\n")  # and nothing more
                stalled.append(s)
            user = Client(server)
            self.assertEqual(user.open().status, 200)
            self.working(user, "IDLE")
            # The stalled ones are sent away: 408 or closed.
            answer = stalled[0].recv(64)
            self.assertTrue(answer == b"" or answer.startswith(b"HTTP/1.1 408"), answer)
        finally:
            for s in stalled:
                s.close()


def main():
    if not at.BUILD or not at.SOURCE:
        print(__doc__)
        return 2
    missing = [what for what, ok in (
        (at.HTTPD, os.access(at.HTTPD, os.X_OK)),
        ("mod_reqtimeout", os.path.exists("/usr/lib/apache2/modules/mod_reqtimeout.so")),
        ("zbarimg", shutil.which("zbarimg")),
        ("pgrep", shutil.which("pgrep")),
    ) if not ok]
    if missing:
        print("SKIP: missing " + ", ".join(missing) + " (scripts/setup.sh installs them)")
        return at.SKIP
    if not os.path.exists(at.MODULE):
        print("the module was not built: " + at.MODULE)
        return 1
    result = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
