"""Tests of the services stand-in: python3 -m unittest discover tools/services"""
import hashlib
import json
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import xmlrpc.client
import zipfile
import io

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keeps the source tree clean when tests run it
sys.path.insert(0, HERE)
import scenario as scenarios  # noqa: E402
import standin  # noqa: E402

SCENARIO = {
    "accounts": [{"email": "ann@example.com", "password": "s3cret", "kb_guid": "kb-1", "books": ["b1"]}],
    "books": [{
        "guid": "b1", "name": "Book One", "server": "books.tessary.test/library/",
        "documents": [dict({"guid": "d%d" % v, "title": "Doc %d" % v, "version": v},
                           **({"version_text": "9th"} if v == 9 else {})) for v in (4, 2, 9, 7)],
        "attachments": [{"guid": "a1", "document_guid": "d2", "name": "notes.txt", "content": "hello", "version": 3},
                        {"guid": "a2", "document_guid": "d2", "name": "two.txt", "version": 4,
                         "zip_entries": [{"name": "first.txt", "content": "one"}, {"name": "second.txt", "content": "two"}]}],
    }],
    "ads": [{"title": "Read more", "url": "http://example.com/more"}],
}


def exchange(port, request, wait=1):
    """Sends a request and reads until the stand-in closes or stops sending for
    `wait` seconds: the head, the body, and whether the stand-in closed."""
    closed = False
    with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
        s.sendall(request)
        s.settimeout(wait)
        data = b""
        try:
            while True:
                piece = s.recv(65536)
                if not piece:
                    closed = True
                    break
                data += piece
        except socket.timeout:
            pass
    head, _, body = data.partition(b"\r\n\r\n")
    return head.decode("latin-1") + "\r\n", body, closed


def raw_exchange(port, request):
    return exchange(port, request)[:2]


def post(port, host, path, method, struct, extra=b""):
    body = xmlrpc.client.dumps((struct,), method).encode("utf-8")
    request = (("POST http://%s:80%s HTTP/1.1\r\nHost: %s\r\nContent-Type: text/xml\r\nContent-length: %d\r\n"
                "Connection: close\r\n\r\n") % (host, path, host, len(body))).encode("ascii") + body
    return raw_exchange(port, request)


class StandInTest(unittest.TestCase):
    def start(self, data):
        self.folder = tempfile.TemporaryDirectory()
        path = os.path.join(self.folder.name, "scenario.json")
        with open(path, "w", encoding="utf-8") as f:
            json.dump(data, f)
        self.log = os.path.join(self.folder.name, "log.jsonl")
        self.server = standin.StandIn(scenarios.load(path), self.log)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def tearDown(self):
        self.server.shutdown()
        self.server.server_close()
        self.server.log_file.close()
        self.folder.cleanup()

    def records(self):
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def login(self, password="s3cret"):
        text = "md5." + hashlib.md5(password.encode("utf-8")).hexdigest()
        return post(self.port, "accounts.tessary.test", "/oskan/xmlrpc", "accounts.clientLogin",
                    {"email": "ann@example.com", "password": text, "program_type": "reader", "client_type": "WIN"})

    def token(self):
        return xmlrpc.client.loads(self.login()[1])[0][0]["token"]

    def test_login_and_wrong_password(self):
        self.start(SCENARIO)
        head, body = self.login()
        answer = xmlrpc.client.loads(body)[0][0]
        self.assertIn("Content-Type: text/xml\r\n", head)
        self.assertEqual("subscriptions.tessary.test/oskan", answer["server"])
        self.assertEqual("kb-1", answer["kb_guid"])
        self.assertEqual("ann@example.com", answer["user"]["email"])
        with self.assertRaises(xmlrpc.client.Fault) as caught:
            xmlrpc.client.loads(self.login("wrong")[1])
        self.assertEqual(301, caught.exception.faultCode)
        record = self.records()[0]
        self.assertEqual("http://accounts.tessary.test:80/oskan/xmlrpc", record["url"])
        self.assertEqual("accounts.clientLogin", record["xmlrpc"]["method"])
        self.assertEqual("reader", record["xmlrpc"]["params"][0]["program_type"])
        self.assertIn(["Content-length", str(record["length"])], record["headers"])

    def test_pages_from_version_in_version_order(self):
        self.start(SCENARIO)
        token = self.token()

        def page(version, count):
            _, body = post(self.port, "books.tessary.test", "/library/xmlrpc", "subscription.getDocumentList",
                           {"client_type": "WIN", "token": token, "subscription_guid": "b1", "count": count,
                            "version": str(version)})
            return [(d["document_guid"], d["version"]) for d in xmlrpc.client.loads(body)[0][0]]

        self.assertEqual([("d2", "2"), ("d4", "4")], page(0, 2))
        self.assertEqual([("d7", "7"), ("d9", "9th")], page(5, 2))
        self.assertEqual([], page(10, 2))
        _, body = post(self.port, "books.tessary.test", "/library/xmlrpc", "subscription.getDocumentList",
                       {"client_type": "WIN", "token": token, "subscription_guid": "b1", "count": 2, "version": 5})
        with self.assertRaises(xmlrpc.client.Fault):
            xmlrpc.client.loads(body)

    def test_data_answers_are_zips_whose_md5_the_list_names(self):
        self.start(SCENARIO)
        token = self.token()
        _, body = post(self.port, "books.tessary.test", "/library/xmlrpc", "subscription.getAttachmentList",
                       {"client_type": "WIN", "token": token, "subscription_guid": "b1", "count": 10, "version": "0"})
        listed = {a["attachment_guid"]: a for a in xmlrpc.client.loads(body)[0][0]}
        _, body = post(self.port, "books.tessary.test", "/library/xmlrpc", "subscription.getAttachmentData",
                       {"attachment_guid": "a2", "subscription_guid": "b1", "client_type": "WIN", "token": token})
        data = xmlrpc.client.loads(body)[0][0]["attachment_zip_data"].data
        self.assertEqual(listed["a2"]["data_md5"], hashlib.md5(data).hexdigest())
        with zipfile.ZipFile(io.BytesIO(data)) as z:
            self.assertEqual(["first.txt", "second.txt"], z.namelist())

    def test_fault_kinds(self):
        data = dict(SCENARIO, faults={
            "subscription.getList": [
                {"kind": "cut2", "times": 1}, {"kind": "cut_close", "missing": 10, "times": 1},
                {"kind": "http500", "times": 1}, {"kind": "fault", "code": 77, "string": None, "times": 1},
                {"kind": "charset", "encoding": "gb2312", "content_type": "text/xml; charset=gb2312",
                 "declaration": "gb2312", "times": 1},
                {"kind": "content_type", "content_type": "text/plain", "times": 1}]})
        data["books"][0]["name"] = "\u4e2d\u6587"
        self.start(data)
        token = self.token()

        def get_list():
            return post(self.port, "subscriptions.tessary.test", "/oskan/xmlrpc", "subscription.getList",
                        {"client_type": "WIN", "token": token, "count": 1000})

        head, body = get_list()
        self.assertTrue(body.endswith(b"</methodRespons"))
        self.assertIn("Content-Length: %d\r\n" % len(body), head)
        head, body = get_list()
        self.assertIn("Content-Length: %d\r\n" % (len(body) + 10), head)
        head, body = get_list()
        self.assertTrue(head.startswith("HTTP/1.1 500"))
        self.assertIn("Content-Type: text/html", head)
        head, body = get_list()
        self.assertIn(b"<name>faultCode</name>", body)
        self.assertNotIn(b"faultString", body)
        head, body = get_list()
        self.assertIn("Content-Type: text/xml; charset=gb2312", head)
        self.assertTrue(body.startswith(b'<?xml version="1.0" encoding="gb2312"?>\n'))
        self.assertIn("\u4e2d\u6587".encode("gb2312"), body)
        head, body = get_list()
        self.assertIn("Content-Type: text/plain", head)
        head, body = get_list()
        self.assertEqual("\u4e2d\u6587", xmlrpc.client.loads(body)[0][0][0]["subscription_name"])
        kinds = [r["answer"]["kind"] for r in self.records()[1:]]
        self.assertEqual(["cut2", "cut_close", "http500", "fault", "charset", "content_type", "normal"], kinds)

    def test_faults_for_one_book_and_raw_attachment_data(self):
        data = json.loads(json.dumps(SCENARIO))
        data["accounts"][0]["books"].append("b2")
        data["books"].append({"guid": "b2", "name": "Book Two", "server": "books.tessary.test/library/",
                              "attachments": [{"guid": "a9", "document_guid": "d1", "name": "x.zip",
                                               "data_base64": "bm90IGEgemlw"}]})
        data["faults"] = {"subscription.getAttachmentData": [{"kind": "http500", "book": "B1"}]}
        self.start(data)
        token = self.token()

        def attachment(book, guid):
            return post(self.port, "books.tessary.test", "/library/xmlrpc", "subscription.getAttachmentData",
                        {"attachment_guid": guid, "subscription_guid": book, "client_type": "WIN", "token": token})

        for _ in range(2):
            head, _ = attachment("b1", "a1")
            self.assertTrue(head.startswith("HTTP/1.1 500"))
            head, body = attachment("b2", "a9")
            self.assertTrue(head.startswith("HTTP/1.1 200"))
            self.assertEqual(b"not a zip", xmlrpc.client.loads(body)[0][0]["attachment_zip_data"].data)

    def test_held_connections_stay_open_and_silent(self):
        data = dict(SCENARIO, faults={"subscription.getList": [
            {"kind": "stall", "missing": 10, "times": 1}, {"kind": "overlong", "times": 1},
            {"kind": "silent", "times": 1}]})
        self.start(data)
        token = self.token()
        body = xmlrpc.client.dumps(({"client_type": "WIN", "token": token, "count": 1000},),
                                   "subscription.getList").encode("utf-8")
        request = (("POST http://subscriptions.tessary.test:80/oskan/xmlrpc HTTP/1.1\r\n"
                    "Host: subscriptions.tessary.test\r\nContent-length: %d\r\n\r\n") % len(body)).encode("ascii")

        def held_answer():
            head, answer, closed = exchange(self.port, request + body, 0.5)
            self.assertFalse(closed, "the stand-in closed a held connection")
            return head, answer

        head, answer = held_answer()
        self.assertIn("Content-Length: %d\r\n" % (len(answer) + 10), head)
        self.assertNotIn("Connection: close", head)
        head, answer = held_answer()
        self.assertIn("Content-Length: %d\r\n" % (len(answer) - 10), head)
        self.assertTrue(answer.endswith(b"</methodResponse>\n"))
        self.assertEqual(("\r\n", b""), held_answer())
        kinds = [r["answer"]["kind"] for r in self.records()[1:]]
        self.assertEqual(["stall", "overlong", "silent"], kinds)

    def test_a_delayed_answer_is_logged_first_and_comes_whole_once_released(self):
        self.start(dict(SCENARIO, faults={"subscription.getList": [
            {"kind": "delay", "seconds": 120, "until": "release", "times": 1}]}))
        token = self.token()
        body = xmlrpc.client.dumps(({"client_type": "WIN", "token": token, "count": 1000},),
                                   "subscription.getList").encode("utf-8")
        request = (("POST http://subscriptions.tessary.test:80/oskan/xmlrpc HTTP/1.1\r\n"
                    "Host: subscriptions.tessary.test\r\nContent-length: %d\r\nConnection: close\r\n\r\n")
                   % len(body)).encode("ascii")
        with socket.create_connection(("127.0.0.1", self.port), timeout=5) as s:
            s.sendall(request + body)
            deadline = time.monotonic() + 5
            while len(self.records()) < 2 and time.monotonic() < deadline:
                time.sleep(0.02)
            self.assertEqual("delay", self.records()[-1]["answer"]["kind"])
            s.settimeout(0.3)
            self.assertRaises(socket.timeout, s.recv, 1)
            open(os.path.join(self.folder.name, "release"), "w").close()
            s.settimeout(30)
            data = b""
            while not data.endswith(b"</methodResponse>\n"):
                piece = s.recv(65536)
                if not piece:
                    break
                data += piece
        self.assertTrue(data.startswith(b"HTTP/1.1 200"))
        self.assertEqual("Book One", xmlrpc.client.loads(data.partition(b"\r\n\r\n")[2])[0][0][0]["subscription_name"])

    def test_unknown_hosts_and_paths_and_the_web_api(self):
        self.start(SCENARIO)
        head, _ = raw_exchange(self.port, b"GET http://elsewhere.test:80/ HTTP/1.1\r\nHost: elsewhere.test\r\n"
                                          b"Connection: close\r\n\r\n")
        self.assertTrue(head.startswith("HTTP/1.1 502"))
        head, _ = post(self.port, "books.tessary.test", "/wrong/xmlrpc", "subscription.getList", {"client_type": "WIN"})
        self.assertTrue(head.startswith("HTTP/1.1 404"))
        head, body = raw_exchange(self.port, b"GET http://api.tessary.test:80/api/?p=tessary&l=1033&v=1.0.0.1&c=ad&a="
                                             b"&url=&t=12 HTTP/1.1\r\nHost: api.tessary.test\r\nConnection: close\r\n\r\n")
        self.assertIn(b'<Ad Title="Read more" URL="http://example.com/more"/>', body)
        self.assertEqual("ad", self.records()[-1]["api"]["c"])

    def test_the_strips_page_is_served_and_its_get_logged(self):
        self.start(SCENARIO)
        head, body = raw_exchange(self.port, b"GET http://ads.tessary.test/?n=qrdv1&p=tv&m=mark&s=1280X1024&m=Tessary "
                                             b"HTTP/1.1\r\nHost: ads.tessary.test\r\nConnection: close\r\n\r\n")
        self.assertTrue(head.startswith("HTTP/1.1 200"))
        self.assertIn(b"<html>", body)
        record = self.records()[-1]
        self.assertEqual(("GET", "ads.tessary.test", "/"), (record["method"], record["host"], record["path"]))
        self.assertIn("s=1280X1024&m=Tessary", record["query"])
        self.assertEqual("ad_page", record["answer"]["kind"])


class LifetimeTest(unittest.TestCase):
    def test_stops_when_the_holder_closes(self):
        with tempfile.TemporaryDirectory() as folder:
            port_file = os.path.join(folder, "port")
            process = subprocess.Popen([sys.executable, os.path.join(HERE, "standin.py"), "--port", "0",
                                        "--port-file", port_file, "--exit-with-holder", "--max-seconds", "30"],
                                       stderr=subprocess.DEVNULL)
            try:
                for _ in range(100):
                    if os.path.exists(port_file):
                        break
                    time.sleep(0.05)
                with open(port_file) as f:
                    port = int(f.read())
                holder = socket.create_connection(("127.0.0.1", port))
                holder.sendall(b"GET /.standin/hold HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
                self.assertTrue(holder.recv(100).startswith(b"HTTP/1.1 200"))
                time.sleep(0.5)
                self.assertIsNone(process.poll())
                holder.close()
                self.assertEqual(0, process.wait(timeout=5))
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()

    def test_demo_scenario_loads(self):
        demo = scenarios.load(os.path.join(HERE, "demo", "scenario.json"))
        self.assertEqual(2, len(demo.books))
        for book in demo.books:
            self.assertTrue(book.documents and book.attachments)


if __name__ == "__main__":
    unittest.main()
