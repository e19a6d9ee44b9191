#!/usr/bin/env python3
"""The preview page served by ribbonweb.so inside a real Apache 2.4 on 127.0.0.1.

Each server is started and stopped by the shipped scripts (scripts/web-start.sh and
scripts/web-stop.sh) with a configuration of its own under a temporary folder, on a free loopback
port. Pictures are checked by reading their JPEG header and decoding them with zbarimg and
ZXingReader, independent barcode readers.

Usage: apache_test.py BUILD_DIR SOURCE_DIR
Exits 77 (skipped) only when a hard prerequisite is missing.
"""

import html
import http.client
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest
import urllib.parse
from html.parser import HTMLParser

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import readers  # noqa: E402

SKIP = 77
BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else None
SOURCE = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
MODULE = os.path.join(BUILD or "", "webdemo", "apache", "ribbonweb.so")
HTTPD = "/usr/sbin/apache2"

SESSION_NOT_FOUND = "Session not found. Session may have expired."
RESYNC_START = "You have attempted to post or refresh data from a page that  depends on information"

# Item indices of the page's lists.
CODE39, CODE93 = 3, 8


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Server:
    """One Apache started through the shipped scripts, with its own folder and port."""

    def __init__(self, workdir, module=MODULE, httpd=HTTPD, extra=None):
        os.makedirs(workdir, exist_ok=True)
        self.root = os.path.join(workdir, "server")
        self.port = free_port()
        self.env = dict(os.environ, RIBBON_BUILD_DIR=BUILD, RIBBON_WEB_ROOT=self.root,
                        RIBBON_WEB_PORT=str(self.port), RIBBON_WEB_MODULE=module,
                        RIBBON_WEB_HTTPD=httpd, RIBBON_WEB_THREADS="16")
        if extra is not None:
            path = os.path.join(workdir, "extra.conf")
            with open(path, "w") as f:
                f.write(extra)
            self.env["RIBBON_WEB_EXTRA"] = path

    def start(self):
        return subprocess.run([os.path.join(SOURCE, "scripts", "web-start.sh")], env=self.env,
                              capture_output=True, text=True, timeout=60)

    def stop(self):
        subprocess.run([os.path.join(SOURCE, "scripts", "web-stop.sh"), "--quiet"], env=self.env,
                       capture_output=True, timeout=60)

    def request(self, method, path, body=None, headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        try:
            conn.putrequest(method, path, skip_accept_encoding=True)
            hdrs = dict(headers or {})
            if body is not None:
                hdrs.setdefault("Content-Type", "application/x-www-form-urlencoded")
                hdrs["Content-Length"] = str(len(body))
            for k, v in hdrs.items():
                conn.putheader(k, v)
            conn.endheaders()
            if body is not None:
                conn.send(body)
            resp = conn.getresponse()
            return resp.status, dict((k.lower(), v) for k, v in resp.getheaders()), resp.read()
        finally:
            conn.close()

    def error_log(self):
        try:
            with open(os.path.join(self.root, "logs", "error.log"), errors="replace") as f:
                return f.read()
        except OSError:
            return ""


class FormReader(HTMLParser):
    """Collects the page's form fields in document order (as a browser posts them), plus images."""

    def __init__(self):
        super().__init__()
        self.action = None
        self.controls = []  # [kind, name, value, checked]
        self.images = []
        self._select = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "form":
            self.action = a.get("action")
        elif tag == "input" and a.get("name"):
            kind = (a.get("type") or "text").lower()
            if kind in ("text", "hidden", "checkbox"):
                self.controls.append([kind, a["name"], a.get("value") or "", "checked" in a])
        elif tag == "select":
            self._select = a.get("name")
            self.controls.append(["select", self._select, None, False])
        elif tag == "option" and self._select and "selected" in a:
            self.controls[-1][2] = a.get("value")
        elif tag == "img":
            self.images.append(a)

    def handle_endtag(self, tag):
        if tag == "select":
            self._select = None


class Page:
    def __init__(self, status, body):
        self.status = status
        self.text = body.decode("iso-8859-1")
        reader = FormReader()
        reader.feed(self.text)
        self.action = reader.action
        self.controls = reader.controls
        self.images = reader.images

    @property
    def fields(self):
        """What the page would post untouched: name -> value, the later field winning."""
        return dict((name, value) for kind, name, value, checked in self.controls
                    if value is not None and (kind != "checkbox" or checked))

    @property
    def session(self):
        m = re.search(r"/EXEC/(\d+)/([0-9a-f]{24})$", self.action or "")
        return (int(m.group(1)), m.group(2)) if m else (None, None)

    @property
    def picture(self):
        srcs = [i["src"] for i in self.images if i.get("name") == "IWImage1" or i.get("id") == "IWImage1"]
        return srcs[0] if srcs else None

    @property
    def alert(self):
        m = re.search(r'window\.alert\("((?:[^"\\]|\\.)*)"\)', self.text)
        return js_unescape(m.group(1)) if m else None


def js_unescape(s):
    def one(m):
        e = m.group(1)
        if e[0] == "x":
            return chr(int(e[1:], 16))
        if e[0] == "u":
            return chr(int(e[1:], 16))
        return {"n": "\n", "r": "\r", "t": "\t"}.get(e, e)
    return re.sub(r"\\(x[0-9a-fA-F]{2}|u[0-9a-fA-F]{4}|.)", one, s)


def jpeg_size(data):
    """(width, height) from a JPEG's start-of-frame marker, or None when it is no JPEG."""
    if data[:2] != b"\xff\xd8":
        return None
    i = 2
    while i + 4 <= len(data):
        if data[i] != 0xFF:
            return None
        marker = data[i + 1]
        length = int.from_bytes(data[i + 2:i + 4], "big")
        if marker in (0xC0, 0xC1, 0xC2):
            return int.from_bytes(data[i + 7:i + 9], "big"), int.from_bytes(data[i + 5:i + 7], "big")
        i += 2 + length
    return None


class Browser:
    """One session: gets the page and posts it back the way the page's script does."""

    def __init__(self, server, base="/ribbon"):
        self.server = server
        self.base = base
        self.page = None

    def open(self):
        status, _, body = self.server.request("GET", self.base + "/")
        self.page = Page(status, body)
        return self.page

    def post(self, changes=None, action="IWButton1", page=None):
        """Posts the page like a browser; a check box takes True/False in changes."""
        page = page or self.page
        changes = dict(changes or {})
        fields = []
        for kind, name, value, checked in page.controls:
            if kind == "checkbox":
                if changes.get(name, checked) is True:
                    fields.append((name, value))
            elif kind == "hidden" and name in ("IW_Action", "IW_ActionParam"):
                continue
            elif name in changes and kind != "hidden":
                fields.append((name, changes[name]))
            elif value is not None:
                fields.append((name, value))
        fields.append(("IW_Action", action))
        body = urllib.parse.urlencode(fields, encoding="iso-8859-1").encode("ascii")
        status, _, data = self.server.request("POST", html.unescape(page.action), body)
        self.page = Page(status, data)
        return self.page

    def view(self, data, **changes):
        changes = {"edtBarcode": data, **changes}
        return self.post(changes)

    def picture(self, page=None):
        src = (page or self.page).picture
        if src is None:
            return None
        status, headers, data = self.server.request("GET", html.unescape(src))
        if status != 200:
            raise AssertionError(f"picture {src} answered {status}")
        return data


def decode(jpeg, tmpdir):
    """The texts zbarimg reads from the picture (empty when it finds no barcode)."""
    path = os.path.join(tmpdir, "picture.jpg")
    with open(path, "wb") as f:
        f.write(jpeg)
    return readers.zbar_read(path)


def zxing(jpeg, tmpdir):
    """(text, leftmost x, topmost y) of the barcode ZXingReader finds, or None."""
    path = os.path.join(tmpdir, "picture-zx.jpg")
    with open(path, "wb") as f:
        f.write(jpeg)
    return readers.zxing_read(path)


class ServedPage(unittest.TestCase):
    """One server for the behaviour of the page and the module's routing."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="ribbonweb-it-")
        os.chmod(cls.tmp, 0o755)
        extra = ("<Location /RIBBONCAPS>\n  SetHandler RIBBONWEB-HANDLER\n  Require all granted\n</Location>\n"
                 "<Location /other>\n  SetHandler other-handler\n  Require all granted\n</Location>\n")
        cls.server = Server(cls.tmp, extra=extra)
        started = cls.server.start()
        if started.returncode != 0:
            cls.server.stop()
            raise RuntimeError("Apache did not start:\n" + started.stdout + started.stderr + cls.server.error_log())

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        log = cls.server.error_log()
        shutil.rmtree(cls.tmp, ignore_errors=True)
        # A crashed child shows up in the parent's log; no test may cause one.
        if re.search(r"exit signal|Segmentation fault|AH00052", log):
            raise AssertionError("the serving process crashed:\n" + log)

    def setUp(self):
        self.work = tempfile.mkdtemp(dir=self.tmp)

    def browser(self):
        b = Browser(self.server)
        page = b.open()
        self.assertEqual(page.status, 200, page.text)
        return b

    def test_page_starts_a_session_with_the_form(self):
        b = self.browser()
        counter, sid = b.page.session
        self.assertIsNotNone(sid, b.page.action)
        self.assertTrue(b.page.action.startswith("/ribbon/EXEC/"), b.page.action)
        for name in ("edtBarcode", "cmbBarType", "edtLeft", "chkBitmap"):
            self.assertIn(name, b.page.fields)
        self.assertEqual(b.page.fields["chkBitmap"], "On")
        self.assertIsNone(b.page.picture, "a fresh page shows no picture")

    def test_handler_name_is_compared_without_case(self):
        b = Browser(self.server, base="/RIBBONCAPS")
        page = b.open()
        self.assertEqual(page.status, 200)
        self.assertTrue((page.action or "").startswith("/RIBBONCAPS/EXEC/"), page.action)

    def test_location_of_another_handler_is_declined(self):
        status, _, body = self.server.request("GET", "/other/")
        self.assertNotEqual(status, 200)
        self.assertNotIn(b"SubmitForm", body)

    def test_view_shows_a_500x200_jpeg_that_decodes_to_the_data(self):
        cases = [
            ("default background picture", "RIBBON-42", {}),
            ("plain background", "CODE39", {"chkBitmap": False}),
            ("blanks around the data", "  123  ", {"chkBitmap": False}),
        ]
        for name, data, changes in cases:
            with self.subTest(name):
                b = self.browser()
                page = b.view(data, cmbBarType=str(CODE39), **changes)
                self.assertIsNone(page.alert, page.alert)
                jpeg = b.picture()
                self.assertIsNotNone(jpeg, "no picture on the page")
                self.assertEqual(jpeg_size(jpeg), (500, 200))
                self.assertEqual(decode(jpeg, self.work), [data.strip()])
                self.assertEqual(zxing(jpeg, self.work)[0], data.strip())

    def test_left_that_is_no_number_draws_at_ten(self):
        # The reader reports where the first bar starts: at Left, Top.
        for left, expected in (("20", ("LEFT", 20, 20)), ("abc", ("LEFT", 10, 20)), ("2O", ("LEFT", 10, 20))):
            with self.subTest(left=left):
                b = self.browser()
                b.view("LEFT", cmbBarType=str(CODE39), chkBitmap=False, edtLeft=left)
                self.assertIsNone(b.page.alert)
                self.assertEqual(zxing(b.picture(), self.work), expected)

    def test_two_browsers_keep_separate_sessions(self):
        a, b = self.browser(), self.browser()
        self.assertNotEqual(a.page.session[1], b.page.session[1])
        a.view("AAA", chkBitmap=False)
        self.assertIsNone(b.post(action="").picture, "B's page shows A's picture")
        b.view("BBB", chkBitmap=False)
        a.post(action="")
        self.assertEqual(decode(a.picture(), self.work), ["AAA"])
        self.assertEqual(decode(b.picture(), self.work), ["BBB"])

    def test_reposting_an_old_page_warns_and_draws_nothing(self):
        b = self.browser()
        first = b.page
        b.view("ONE", chkBitmap=False)
        stale = b.post({"edtBarcode": "TWO"}, page=first)
        self.assertIsNotNone(stale.alert)
        self.assertTrue(stale.alert.startswith(RESYNC_START), stale.alert)
        self.assertEqual(decode(b.picture(stale), self.work), ["ONE"])

    def test_unknown_and_forged_sessions_are_not_found(self):
        for path in ("/ribbon/EXEC/1/0123456789abcdef01234567",
                     "/ribbon/EXEC/1/ZZZZ",
                     "/ribbon/EXEC/1/" + "a" * 5000,
                     "/ribbon/EXEC/99999999999999999999999/0123456789abcdef01234567",
                     "/ribbon/EXEC/1/%3Cscript%3Ealert(1)%3C%2Fscript%3E"):
            with self.subTest(path[:60]):
                status, _, body = self.server.request("POST", path, b"IW_Action=IWButton1")
                text = body.decode("iso-8859-1")
                # Apache itself refuses some before they reach us (a name too long for a file
                # name, an encoded slash); what reaches the module must find no session.
                if status not in (403, 404):
                    self.assertIn(SESSION_NOT_FOUND, text)
                self.assertNotIn("SubmitForm", text)
                self.assertNotIn("<script>alert(1)", text)

    def test_refused_data_alerts_the_engine_message_over_the_plain_background(self):
        b = self.browser()
        page = b.view("ab", cmbBarType=str(CODE93), chkBitmap=False)
        self.assertEqual(page.alert, "ab : Code_93 bad data.")
        jpeg = b.picture()
        self.assertEqual(jpeg_size(jpeg), (500, 200))
        self.assertEqual(decode(jpeg, self.work), [])

    def test_script_in_the_data_is_never_executable(self):
        b = self.browser()
        payload = '</script><script>alert("x")</script><img src=x onerror=alert(1)>'
        page = b.view(payload, cmbBarType=str(CODE93), chkBitmap=False)
        self.assertNotIn("<script>alert", page.text)
        self.assertNotIn("<img src=x", page.text)
        self.assertEqual(page.fields["edtBarcode"], payload, "the field keeps the text as typed")
        self.assertIsNotNone(page.alert)
        self.assertIn(payload, page.alert)

    def test_forged_list_indexes_are_refused(self):
        for field, value in (("cmbBackColor", "-5"), ("cmbBarType", "-1"), ("cmbTextShow", "-2147483648"),
                             ("cmbBarColor", "99"), ("cmbTextPost", "1e9"), ("cmbModul", "0x10")):
            with self.subTest(field=field, value=value):
                b = self.browser()
                page = b.view("X1", chkBitmap=False, **{field: value})
                self.assertEqual(page.status, 200)
                self.assertIsNotNone(page.session[1])
                if page.alert is None:
                    # Ignored rather than refused: the page must still draw a readable symbol.
                    self.assertEqual(decode(b.picture(), self.work), ["X1"])

    def test_cache_serves_only_pictures_it_made(self):
        b = self.browser()
        b.view("PIC", chkBitmap=False)
        src = html.unescape(b.page.picture)
        self.assertEqual(self.server.request("GET", src)[0], 200)
        name = src.rsplit("/", 1)[1]
        for path in ("/ribbon/cache/../../../../etc/passwd",
                     "/ribbon/cache/%2e%2e/%2e%2e/%2e%2e/etc/passwd",
                     "/ribbon/cache/..%2f..%2f..%2fetc%2fpasswd",
                     "/ribbon/cache/%2fetc%2fpasswd",
                     "/ribbon/cache/../Back.bmp",
                     "/ribbon/cache/Back.bmp",
                     "/ribbon/cache/../ribbonweb.so",
                     "/ribbon/cache/JPG000000.tmp",
                     "/ribbon/cache/",
                     "/ribbon/cache/" + name + "/x",
                     "/ribbon/cache/" + name + "%00.png",
                     "/ribbon/cache/./" + name.replace("JPG", "jpg")):
            with self.subTest(path):
                status, _, body = self.server.request("GET", path)
                self.assertNotIn(b"root:", body)
                self.assertFalse(body.startswith(b"BM") or body.startswith(b"\x7fELF"), path)
                # Apache folds "/cache/../x" into "/x" before the module sees it; whatever still
                # names a path under /cache/ must be unknown there.
                if "/.." not in urllib.parse.unquote(path):
                    self.assertEqual(status, 404, path)

    def test_oversized_bodies_are_refused_and_the_server_lives_on(self):
        b = self.browser()
        big = b"edtBarcode=" + b"A" * (1024 * 1024)
        status, _, _ = self.server.request("POST", html.unescape(b.page.action), big)
        self.assertEqual(status, 413)
        # Chunked, so no length announces it.
        conn = http.client.HTTPConnection("127.0.0.1", self.server.port, timeout=30)
        try:
            conn.request("POST", html.unescape(b.page.action), body=iter([b"A" * 65536] * 16),
                         headers={"Content-Type": "application/x-www-form-urlencoded"},
                         encode_chunked=True)
            self.assertEqual(conn.getresponse().status, 413)
        finally:
            conn.close()
        self.assertEqual(self.browser().page.status, 200)


class TempServers(unittest.TestCase):
    """Cases that start their own servers in a temporary folder, stopped and removed after."""

    PREFIX = "ribbonweb-tmp-"

    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix=self.PREFIX)
        os.chmod(self.tmp, 0o755)
        self.servers = []

    def tearDown(self):
        for s in self.servers:
            s.stop()
        shutil.rmtree(self.tmp, ignore_errors=True)


class ModuleDirectory(TempServers):
    """Servers whose module lies in a folder prepared for one case."""

    PREFIX = "ribbonweb-dir-"

    def module_in(self, name, back_bmp, file_name="ribbonweb.so"):
        folder = os.path.join(self.tmp, name)
        os.makedirs(folder)
        os.chmod(folder, 0o777)
        shutil.copy(MODULE, os.path.join(folder, file_name))
        if back_bmp:
            shutil.copy(os.path.join(os.path.dirname(MODULE), "Back.bmp"), folder)
        return folder

    def test_handler_name_follows_the_module_file_name(self):
        folder = self.module_in("renamed", back_bmp=True, file_name="BarcodeWeb.so")
        extra = "<Location /old>\n  SetHandler ribbonweb-handler\n  Require all granted\n</Location>\n"
        server = Server(os.path.join(self.tmp, "s"), module=os.path.join(folder, "BarcodeWeb.so"), extra=extra)
        self.servers.append(server)
        started = server.start()
        self.assertEqual(started.returncode, 0, started.stderr + server.error_log())
        with open(os.path.join(server.root, "conf", "httpd.conf")) as f:
            self.assertIn("SetHandler barcodeweb-handler", f.read())
        self.assertEqual(Browser(server).open().status, 200)
        status, _, body = server.request("GET", "/old/")
        self.assertNotEqual(status, 200)
        self.assertNotIn(b"SubmitForm", body)

    def test_missing_back_bmp_alerts_a_file_error(self):
        folder = self.module_in("nobmp", back_bmp=False)
        server = Server(os.path.join(self.tmp, "s1"), module=os.path.join(folder, "ribbonweb.so"))
        self.servers.append(server)
        started = server.start()
        self.assertEqual(started.returncode, 0, started.stderr + server.error_log())
        b = Browser(server)
        b.open()
        page = b.view("NOBMP")
        self.assertIsNotNone(page.alert)
        self.assertIn("Back.bmp", page.alert)
        self.assertIsNone(page.picture, "the picture stays as it was: none")
        # Unchecking the box draws on the plain background.
        page = b.view("NOBMP", chkBitmap=False)
        self.assertIsNone(page.alert)
        self.assertEqual(decode(b.picture(), self.tmp), ["NOBMP"])

    @unittest.skipUnless(os.geteuid() == 0, "only a server started as root changes its user")
    def test_module_folder_closed_to_the_serving_user_answers_the_error_page(self):
        # The parent (root) starts up fine; the child, serving as www-data, cannot reach the
        # folder: every request gets the error page with the start-up's message.
        folder = self.module_in("closed", back_bmp=True)
        os.chmod(folder, 0o700)
        server = Server(os.path.join(self.tmp, "s"), module=os.path.join(folder, "ribbonweb.so"))
        self.servers.append(server)
        started = server.start()
        self.assertEqual(started.returncode, 0, started.stderr + server.error_log())
        status, headers, body = server.request("GET", "/ribbon/")
        self.assertEqual(status, 500)
        self.assertEqual(headers["content-type"], "text/html")
        self.assertEqual(int(headers["content-length"]), len(body))
        self.assertRegex(body.decode("iso-8859-1"),
                         r"^<html><title>Internal Server Error 500</title>\r\n"
                         r"<h1>Internal Server Error 500</h1><hr>\r\n"
                         r"Exception: \w+<br>\r\n"
                         r"Message: [^<>]*Cache[^<>]*<br></html>\r\n$")
        self.assertIn("start-up failed", server.error_log())

    def test_failed_start_up_appends_to_the_err_file_beside_the_executable(self):
        # The error file lies beside the server's executable; a copy of the executable in a
        # folder of ours keeps the system's /usr/sbin untouched.
        folder = self.module_in("broken", back_bmp=True)
        with open(os.path.join(folder, "Cache"), "w") as f:
            f.write("a file where the picture cache should be\n")
        bindir = os.path.join(self.tmp, "bin")
        os.makedirs(bindir)
        httpd = os.path.join(bindir, "apache2")
        shutil.copy(HTTPD, httpd)
        err = os.path.join(bindir, "apache2.err")
        for attempt in (1, 2):
            server = Server(os.path.join(self.tmp, f"s{attempt}"), module=os.path.join(folder, "ribbonweb.so"),
                            httpd=httpd)
            self.servers.append(server)
            started = server.start()
            self.assertNotEqual(started.returncode, 0, "the server started with a broken module")
            with open(err, "rb") as f:
                lines = f.read().split(b"\r\n")
            self.assertEqual(lines[-1], b"", "every line ends in CR LF")
            self.assertEqual(len(lines) - 1, attempt, lines)
            for line in lines[:-1]:
                self.assertTrue(line.startswith(b"Error: "), line)
                self.assertIn(b"Cache", line)


@unittest.skipUnless(os.geteuid() == 0, "already running as an ordinary user: every other test covers it")
class OrdinaryUser(TempServers):
    """Apache started by an ordinary user (nobody) serves as that user; run as root, the other
    tests cover the server that starts as root and drops to www-data."""

    USER = "nobody"

    PREFIX = "ribbonweb-user-"

    def setUp(self):
        import pwd
        self.uid = pwd.getpwnam(self.USER).pw_uid
        super().setUp()

    def owned_folder(self, name, files):
        folder = os.path.join(self.tmp, name)
        os.makedirs(folder)
        for f in files:
            shutil.copy(f, folder)
        for dirpath, _, names in os.walk(folder):
            os.chown(dirpath, self.uid, -1)
            for n in names:
                os.chown(os.path.join(dirpath, n), self.uid, -1)
        return folder

    def start_as_user(self, server):
        os.makedirs(server.root, exist_ok=True)
        os.chown(server.root, self.uid, -1)
        self.servers.append(server)
        return subprocess.run(["runuser", "-u", self.USER, "--", os.path.join(SOURCE, "scripts", "web-start.sh")],
                              env=server.env, capture_output=True, text=True, timeout=60)

    def test_serves_as_the_user_who_started_it(self):
        folder = self.owned_folder("mod", [MODULE, os.path.join(os.path.dirname(MODULE), "Back.bmp")])
        server = Server(os.path.join(self.tmp, "s"), module=os.path.join(folder, "ribbonweb.so"))
        started = self.start_as_user(server)
        self.assertEqual(started.returncode, 0, started.stdout + started.stderr + server.error_log())
        b = Browser(server)
        b.open()
        b.view("USER")
        self.assertIsNone(b.page.alert)
        self.assertEqual(decode(b.picture(), self.tmp), ["USER"])
        cache = os.path.join(folder, "Cache")
        owners = {os.stat(os.path.join(cache, n)).st_uid for n in os.listdir(cache)}
        self.assertEqual(owners, {self.uid})

    def test_failed_start_up_without_a_writable_err_file_is_still_reported(self):
        # The system's executable lies in a folder this user cannot write: the .err line cannot
        # be appended, the message goes to the console and the server does not start.
        folder = self.owned_folder("broken", [MODULE])
        with open(os.path.join(folder, "Cache"), "w") as f:
            f.write("not a folder\n")
        err = HTTPD + ".err"
        before = os.path.exists(err) and os.path.getsize(err)
        server = Server(os.path.join(self.tmp, "s"), module=os.path.join(folder, "ribbonweb.so"))
        started = self.start_as_user(server)
        self.assertNotEqual(started.returncode, 0)
        self.assertIn("ribbonweb: start-up failed:", started.stderr)
        self.assertIn("could not append to " + err, started.stderr)
        self.assertEqual(os.path.exists(err) and os.path.getsize(err), before)


class Balanced(TempServers):
    """Two back ends behind mod_proxy_balancer, as scripts/run.sh --backends starts them."""

    PREFIX = "ribbonweb-lb-"

    class Front(Server):
        """The front's address with a browser's cookie jar (the balancer's route cookie)."""

        def __init__(self, port):
            self.port = port
            self.cookies = {}

        def request(self, method, path, body=None, headers=None):
            hdrs = dict(headers or {})
            if self.cookies:
                hdrs["Cookie"] = "; ".join(f"{k}={v}" for k, v in self.cookies.items())
            status, got, data = Server.request(self, method, path, body, hdrs)
            cookie = got.get("set-cookie")
            if cookie:
                name, _, value = cookie.split(";")[0].partition("=")
                self.cookies[name.strip()] = value.strip()
            return status, got, data

    def test_sessions_stay_on_their_back_end_and_both_serve(self):
        port = free_port_block(3)
        cluster = os.path.join(self.tmp, "cluster")
        env = dict(os.environ, RIBBON_BUILD_DIR=BUILD, RIBBON_WEB_ROOT=cluster,
                   RIBBON_WEB_PORT=str(port), RIBBON_WEB_MODULE=MODULE, RIBBON_WEB_THREADS="16")
        script = os.path.join(SOURCE, "scripts", "web-balancer.sh")
        started = subprocess.run([script, "2"], env=env, capture_output=True, text=True, timeout=120)
        self.addCleanup(subprocess.run, [script, "--stop"], env=env, capture_output=True, timeout=60)
        self.assertEqual(started.returncode, 0, started.stderr)

        ids = []
        for n in range(20):
            browser = Browser(self.Front(port))
            browser.open()
            self.assertTrue(browser.server.cookies.get("ROUTEID"), "no route cookie")
            _, session = browser.page.session
            ids.append(session)
            for v in range(3):
                data = f"LB{n}-{v}"
                page = browser.view(data)
                self.assertIsNone(page.alert)
                self.assertEqual(page.session[1], session)
                self.assertEqual(decode(browser.picture(), self.tmp), [data])

        served = {}
        for b in ("backend1", "backend2"):
            with open(os.path.join(cluster, b, "logs", "access.log")) as f:
                log = f.read()
            served[b] = {i for i in ids if "/EXEC/" in log and i in log}
        self.assertTrue(served["backend1"] and served["backend2"], served)
        # Every session's requests went to one back end only.
        self.assertEqual(served["backend1"] & served["backend2"], set())
        self.assertEqual(served["backend1"] | served["backend2"], set(ids))


def free_port_block(size):
    """A port p such that p .. p + size - 1 are free on 127.0.0.1 (at the time of asking)."""
    for _ in range(50):
        base = free_port()
        if base + size >= 65536:
            continue
        socks = []
        try:
            for p in range(base, base + size):
                s = socket.socket()
                socks.append(s)
                s.bind(("127.0.0.1", p))
            return base
        except OSError:
            continue
        finally:
            for s in socks:
                s.close()
    raise AssertionError("no block of free ports")


def main():
    if not BUILD or not SOURCE:
        print(__doc__)
        return 2
    missing = [what for what, ok in (
        (HTTPD, os.access(HTTPD, os.X_OK)),
        ("/usr/lib/apache2/modules/mod_mpm_event.so", os.path.exists("/usr/lib/apache2/modules/mod_mpm_event.so")),
        ("zbarimg", shutil.which("zbarimg")),
        ("ZXingReader", shutil.which("ZXingReader")),
    ) if not ok]
    if missing:
        print("SKIP: missing " + ", ".join(missing) + " (scripts/setup.sh installs them)")
        return SKIP
    if not os.path.exists(MODULE):
        print("the module was not built: " + MODULE)
        return 1
    result = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
