"""The independent readers that the Python tests check pictures and PDF files with: zbar's
zbarimg, ZXing-C++'s ZXingReader and poppler's pdftoppm. A reader that does not do its work
raises, so an empty reading always means "no barcode found"."""

import os
import re
import subprocess


def _run(command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30)


def zbar_read(path):
    """The texts zbarimg reads from the picture, one per symbol (empty when it finds none)."""
    run = _run(["zbarimg", "-q", "--raw", path])
    # 4 means no barcode; anything else but 0 is a reader that did not do its work.
    if run.returncode not in (0, 4):
        raise AssertionError(f"zbarimg failed ({run.returncode}): {run.stderr}")
    return run.stdout.split()


def zxing_read(path):
    """(text, leftmost x, topmost y) of the barcode ZXingReader finds, or None."""
    run = _run(["ZXingReader", path])
    if run.returncode != 0:
        raise AssertionError(f"ZXingReader failed ({run.returncode}): {run.stderr}")
    text = re.search(r'^Text:\s*"(.*)"$', run.stdout, re.M)
    where = re.search(r"^Position:\s*(.*)$", run.stdout, re.M)
    if not text or not where:
        return None
    corners = [(int(x), int(y)) for x, y in re.findall(r"(-?\d+)x(-?\d+)", where.group(1))]
    return text.group(1), min(x for x, _ in corners), min(y for _, y in corners)


def pdf_pages(pdf, folder, dpi=150):
    """Every page of the PDF as a PNG file in the (empty) folder, at dpi; their paths in page
    order."""
    run = _run(["pdftoppm", "-r", str(dpi), "-png", pdf, os.path.join(folder, "page")])
    if run.returncode != 0:
        raise AssertionError(f"pdftoppm failed ({run.returncode}): {run.stderr}")
    return sorted(os.path.join(folder, n) for n in os.listdir(folder))
