"""One request to a server of ours on 127.0.0.1 as a browser sends it, for the integration tests
and the memory benchmarks (bench/memory/)."""

import http.client


def request(port, method, path, body=None, timeout=60, source=None):
    """Sends one request with a browser's User-Agent (and a form's Content-Type when there is a
    body), from the loopback address `source` when given; returns the status, the headers by
    lower-case name and the body's bytes."""
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout,
                                      source_address=(source, 0) if source else None)
    try:
        headers = {"User-Agent": "Mozilla/5.0 Chrome/120.0"}
        if body is not None:
            headers["Content-Type"] = "application/x-www-form-urlencoded"
        conn.request(method, path, body, headers)
        resp = conn.getresponse()
        return resp.status, dict((k.lower(), v) for k, v in resp.getheaders()), resp.read()
    finally:
        conn.close()
