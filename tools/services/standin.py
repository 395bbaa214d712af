#!/usr/bin/env python3
"""A local stand-in for the reader's remote services: the accounts service,
the subscriptions service, any number of book servers, the web API and the
tool bar's advertisement page, all from one scenario file.

The reader reaches it as its HTTP proxy, so it keeps its real host names and
port 80 and every request arrives in absolute form ("POST http://host:80/path").
It listens on 127.0.0.1 only. Every request is logged as one JSON line.

    python3 tools/services/standin.py --scenario tools/services/demo/scenario.json --port 8080

Tests start it with --port 0 --port-file FILE --exit-with-holder: it writes
the port it got to FILE and stops as soon as the connection that the test
opened to "/.standin/hold" closes, which happens when the test process ends
however it ends (see README.md beside this file).
"""
import argparse
import base64
import datetime
import http.server
import json
import os
import socketserver
import sys
import threading
import time
import urllib.parse
import xmlrpc.client

sys.dont_write_bytecode = True  # keeps the source tree clean when tests run it
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import answers  # noqa: E402
import scenario as scenarios  # noqa: E402
import services  # noqa: E402

HOLD_PATH = "/.standin/hold"


def _json_value(value):
    if isinstance(value, xmlrpc.client.Binary):
        return {"base64": base64.b64encode(value.data).decode("ascii")}
    if isinstance(value, xmlrpc.client.DateTime):
        return {"dateTime.iso8601": value.value}
    if isinstance(value, dict):
        return {k: _json_value(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [_json_value(v) for v in value]
    return value


def _book_of(params):
    """The book GUID that a book server call names, or None."""
    if len(params) == 1 and isinstance(params[0], dict):
        guid = params[0].get("subscription_guid")
        return guid if isinstance(guid, str) else None
    return None


class StandIn(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, scenario, log_path, port=0, verbose=False, read_timeout=10):
        self.scenario = scenario
        self.read_timeout = read_timeout
        self.verbose = verbose
        self.lock = threading.Lock()
        self.sequence = 0
        self.log_file = open(log_path, "a", encoding="utf-8") if log_path else None
        self.stop = threading.Event()
        self.held = threading.Event()
        self.endpoints = {}
        for endpoint in scenario.subscriptions_endpoints:
            self.endpoints[endpoint] = "subscriptions"
        for book in scenario.books:
            self.endpoints.setdefault(book.endpoint, "book")
        self.endpoints[(scenario.accounts_host, 80, scenarios.XMLRPC_PATH)] = "accounts"
        super().__init__(("127.0.0.1", port), Handler)

    def log(self, record):
        with self.lock:
            self.sequence += 1
            record = dict(seq=self.sequence, **record)
            if self.log_file:
                self.log_file.write(json.dumps(record, ensure_ascii=True) + "\n")
                self.log_file.flush()
            if self.verbose:
                sys.stderr.write("%d %s %s -> %s\n" % (self.sequence, record.get("method"), record.get("url"),
                                                       record.get("answer", {}).get("kind")))

    def take_fault(self, method, book=None):
        with self.lock:
            return self.scenario.take_fault(method, book)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TessaryStandIn/1.0"

    def version_string(self):
        return self.server_version

    def setup(self):
        # A client that announced more body than it sends is not waited for long.
        self.timeout = self.server.read_timeout
        super().setup()

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.handle_request()

    def do_POST(self):
        self.handle_request()

    def do_PUT(self):
        self.handle_request()

    def handle_request(self):
        url = urllib.parse.urlsplit(self.path)
        if not url.scheme and url.path == HOLD_PATH:
            return self.hold()
        host = (url.hostname or self.headers.get("Host", "").split(":")[0]).lower()
        port = url.port or 80
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        record = {
            "time": datetime.datetime.now().isoformat(timespec="milliseconds"),
            "method": self.command,
            "url": self.path,
            "host": host,
            "port": port,
            "path": url.path,
            "query": url.query,
            "headers": [[k, v] for k, v in self.headers.items()],
            "length": len(body),
            "body": body.decode("utf-8", "replace"),
            "body_base64": base64.b64encode(body).decode("ascii"),
        }
        answer = self.route(host, port, url, body, record)
        record["answer"] = {"status": answer["status"], "kind": answer["kind"],
                            "content_type": dict(answer["headers"]).get("Content-Type", "")}
        self.server.log(record)
        self.send(answer)

    def route(self, host, port, url, body, record):
        server = self.server
        if host == server.scenario.web_api_host and port == 80:
            if self.command != "GET" or url.path != "/api/":
                return answers.html_error(404, "Not Found", "No such page: %s" % url.path)
            query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
            method = "api." + query.get("c", [""])[0]
            record["api"] = {k: v[0] for k, v in query.items()}
            return answers.shape(services.ads_answer(server.scenario), "text/xml", server.take_fault(method))
        if host == server.scenario.ad_host and port == 80:
            if self.command != "GET":
                return answers.html_error(405, "Method Not Allowed", "The strip's page takes GET only")
            return answers.ad_page()
        kind = server.endpoints.get((host, port, url.path))
        if kind is None:
            if any(h == host and p == port for h, p, _ in server.endpoints):
                return answers.html_error(404, "Not Found", "No such page: %s" % url.path)
            return answers.html_error(502, "Bad Gateway", "Unknown host: %s" % host)
        if self.command != "POST":
            return answers.html_error(405, "Method Not Allowed", "XML-RPC takes POST only")
        try:
            params, method = xmlrpc.client.loads(body)
        except Exception as e:  # a request that is not XML-RPC is answered as a real server would
            record["xmlrpc_error"] = str(e)
            return answers.shape(answers.xmlrpc_text(services.fault(services.FAULT_PARSE, "Parse error: %s" % e)),
                                 "text/xml", None)
        record["xmlrpc"] = {"method": method, "params": _json_value(params)}
        served = {"accounts": services.ACCOUNTS_METHODS, "subscriptions": services.SUBSCRIPTIONS_METHODS,
                  "book": services.BOOK_METHODS}[kind]
        try:
            if method not in served:
                raise services.fault(services.FAULT_NO_METHOD, "Method not found: %s" % method)
            result = services.METHODS[method](server.scenario, params, (host, port, url.path))
        except xmlrpc.client.Fault as f:
            result = f
        return answers.shape(answers.xmlrpc_text(result), "text/xml", server.take_fault(method, _book_of(params)))

    def send(self, answer):
        body = answer["body"]
        if answer.get("delay"):
            self.wait(answer["delay"], answer.get("until"))
        if not answer.get("silent"):
            self.send_response(answer["status"], answer["reason"])
            for name, value in answer["headers"]:
                self.send_header(name, value)
            if not answer.get("no_length"):
                self.send_header("Content-Length", str(answer.get("length", len(body))))
            cut = answer["send"] is not None
            if cut and not answer.get("hold"):
                self.send_header("Connection", "close")
                self.close_connection = True
            # Head and body leave in one write, so that the client's first read holds both whatever the
            # load: Wine's WinINet counts the body bytes that came with the head, and an overlong body
            # sent apart would stall its reads on one run and pass for a whole answer on the next.
            self._headers_buffer.append(b"\r\n")
            self._headers_buffer.append(body if not cut else body[:answer["send"]])
            self.flush_headers()
        if answer.get("hold"):
            self.hold_until_closed()

    def wait(self, seconds, until):
        """Waits the seconds, or until the test makes the file `until` in the
        scenario's folder: a test releases an answer once it has done what had
        to happen while the request was pending, whatever the machine's load."""
        end = time.monotonic() + seconds
        marker = os.path.join(self.server.scenario.base, until) if until else None
        while time.monotonic() < end and not (marker and os.path.exists(marker)):
            time.sleep(0.02)

    def hold_until_closed(self):
        """Sends nothing more and keeps the connection open until the client
        gives up on it (or the stand-in stops)."""
        self.connection.settimeout(None)
        try:
            while self.rfile.read1(4096):
                pass
        except OSError:
            pass
        self.close_connection = True

    def hold(self):
        """The test's lifeline: answered at once, then read until the test's
        end closes it; a stand-in started with --exit-with-holder stops then."""
        self.send_response(200)
        self.send_header("Content-Length", "0")
        self.end_headers()
        self.wfile.flush()
        self.server.held.set()
        self.hold_until_closed()
        self.server.stop.set()


def write_port_file(path, text):
    """The port, or "error: ..." when the stand-in cannot start."""
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(text + "\n")
    os.replace(temporary, path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Local stand-in for the reader's services (an HTTP proxy).")
    parser.add_argument("--scenario", help="scenario file (JSON); none serves an empty scenario")
    parser.add_argument("--port", type=int, default=8080, help="port on 127.0.0.1; 0 picks a free one")
    parser.add_argument("--port-file", help="write the port to this file once listening")
    parser.add_argument("--log", help="append one JSON line per request to this file")
    parser.add_argument("--exit-with-holder", action="store_true",
                        help="stop when the connection to %s closes (or none came within --hold-wait)" % HOLD_PATH)
    parser.add_argument("--hold-wait", type=float, default=60, help="seconds to wait for the holder")
    parser.add_argument("--max-seconds", type=float, default=0, help="stop after this long (0: never)")
    parser.add_argument("--read-timeout", type=float, default=10,
                        help="seconds to wait for a request's next bytes before closing the connection")
    parser.add_argument("--verbose", action="store_true", help="print one line per request")
    args = parser.parse_args(argv)

    try:
        scenario = scenarios.load(args.scenario) if args.scenario else scenarios.empty()
    except (OSError, ValueError, KeyError, scenarios.ScenarioError) as e:
        sys.stderr.write("standin: cannot load the scenario: %s\n" % e)
        if args.port_file:
            write_port_file(args.port_file, "error: cannot load the scenario: %s" % e)
        return 2
    server = StandIn(scenario, args.log, args.port, args.verbose, args.read_timeout)
    port = server.server_address[1]
    if args.port_file:
        write_port_file(args.port_file, "%d" % port)
    sys.stderr.write("standin: proxy on 127.0.0.1:%d\n" % port)
    sys.stderr.flush()

    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    started = time.monotonic()
    try:
        while not server.stop.wait(0.2):
            elapsed = time.monotonic() - started
            if args.max_seconds and elapsed > args.max_seconds:
                break
            if args.exit_with_holder and not server.held.is_set() and elapsed > args.hold_wait:
                break
    except KeyboardInterrupt:
        pass
    server.shutdown()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
