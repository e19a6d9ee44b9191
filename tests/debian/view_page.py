#!/usr/bin/env python3
"""Opens the preview page of an Apache on 127.0.0.1:PORT, views a Code 39 barcode and reads the
picture back with zbarimg.   view_page.py PORT SCRATCH_DIR
The page handling (form reading, posting, the picture) is the integration test's own."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "integration"))
import apache_test  # noqa: E402


class Loopback:
    request = apache_test.Server.request

    def __init__(self, port):
        self.port = port


def main():
    port, scratch = int(sys.argv[1]), sys.argv[2]
    browser = apache_test.Browser(Loopback(port))
    page = browser.open()
    if page.status != 200 or page.session == (None, None):
        sys.exit(f"GET /ribbon/ answered {page.status} without a session:\n{page.text[:400]}")
    page = browser.view("DEB-26", cmbBarType=str(apache_test.CODE39))
    if page.alert:
        sys.exit(f"the page alerted: {page.alert}")
    jpeg = browser.picture()
    if jpeg is None:
        sys.exit("no picture on the page")
    read = apache_test.decode(jpeg, scratch)
    if read != ["DEB-26"]:
        sys.exit(f"zbarimg read {read} from the picture, expected ['DEB-26']")
    print(f"view: a {apache_test.jpeg_size(jpeg)} JPEG that zbarimg reads as DEB-26")


if __name__ == "__main__":
    main()
