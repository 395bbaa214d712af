"""Reads a scenario file: the accounts, books, documents, attachments,
advertisements and injected faults that the stand-in serves.

Paths inside a scenario are relative to the scenario file's folder.
"""
import datetime
import hashlib
import io
import json
import os
import zipfile

ACCOUNTS_HOST = "accounts.tessary.test"
WEB_API_HOST = "api.tessary.test"
AD_HOST = "ads.tessary.test"
XMLRPC_PATH = "/oskan/xmlrpc"
DEFAULT_SUBSCRIPTIONS_SERVER = "subscriptions.tessary.test/oskan"
TIME_FORMAT = "%Y-%m-%d %H:%M:%S"


class ScenarioError(Exception):
    pass


def parse_time(text, default="2009-12-04 10:20:30"):
    try:
        return datetime.datetime.strptime(text or default, TIME_FORMAT)
    except ValueError as e:
        raise ScenarioError("bad time %r: %s" % (text, e))


def endpoint_of(server):
    """Host, port and path of an XML-RPC endpoint named as "host[:port]/path",
    the way the reader derives them: the path loses its trailing slashes and
    gains "/xmlrpc"."""
    text = server
    if text.lower().startswith("http://"):
        text = text[7:]
    slash = text.find("/")
    if slash < 0:
        raise ScenarioError("server %r has no path" % server)
    hostport, path = text[:slash], text[slash:]
    host, _, port = hostport.partition(":")
    return host.lower(), int(port or 80), path.rstrip("/") + "/xmlrpc"


def build_zip(entries, when):
    """A zip archive of (name, bytes) pairs in the given order, with fixed
    times so that the same scenario always gives the same bytes (and MD5)."""
    stamp = (max(when.year, 1980), when.month, when.day, when.hour, when.minute, when.second)
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, data)
    return out.getvalue()


def _content_of(item, base):
    """Bytes of a file given as "content" (text, UTF-8), "content_base64" or
    "file" (a path)."""
    if "content" in item:
        return item["content"].encode("utf-8")
    if "content_base64" in item:
        import base64
        return base64.b64decode(item["content_base64"])
    if "file" in item:
        with open(os.path.join(base, item["file"]), "rb") as f:
            return f.read()
    raise ScenarioError("no content in %r" % (item,))


def _folder_entries(folder):
    entries = []
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            rel = os.path.relpath(path, folder).replace(os.sep, "/")
            with open(path, "rb") as f:
                entries.append((rel, f.read()))
    return entries


class Document:
    def __init__(self, item, base):
        self.guid = item["guid"]
        self.title = item.get("title", "")
        self.category = item.get("category", "/")
        self.created = parse_time(item.get("created"))
        self.modified = parse_time(item.get("modified"), item.get("created") or "2009-12-04 10:20:30")
        self.icon_index = int(item.get("icon_index", 0))
        self.attachment_count = item.get("attachment_count")
        self.version = int(item.get("version", 1))
        self.version_text = item.get("version_text", str(self.version))
        if "folder" in item:
            entries = _folder_entries(os.path.join(base, item["folder"]))
        elif "files" in item:
            entries = [(name, text.encode("utf-8")) for name, text in item["files"].items()]
        else:
            entries = [("index.htm", ("<html><head><title>%s</title></head><body><h1>%s</h1></body></html>"
                                      % (self.title, self.title)).encode("utf-8"))]
        if not entries:
            raise ScenarioError("document %s has no files" % self.guid)
        self.zip = build_zip(entries, self.modified)
        self.data_md5 = item.get("data_md5", hashlib.md5(self.zip).hexdigest())


class Attachment:
    def __init__(self, item, base):
        self.guid = item["guid"]
        self.document_guid = item.get("document_guid", "")
        self.name = item.get("name", "")
        self.description = item.get("description", "")
        self.version = int(item.get("version", 1))
        self.version_text = item.get("version_text", str(self.version))
        when = parse_time(item.get("modified"))
        if "data_base64" in item:
            import base64
            self.zip = base64.b64decode(item["data_base64"])
            self.data_md5 = item.get("data_md5", hashlib.md5(self.zip).hexdigest())
            return
        if "zip_entries" in item:
            entries = [(e["name"], _content_of(e, base)) for e in item["zip_entries"]]
        else:
            entries = [(self.name or "attachment", _content_of(item, base))]
        self.zip = build_zip(entries, when)
        self.data_md5 = item.get("data_md5", hashlib.md5(self.zip).hexdigest())


class Book:
    def __init__(self, item, base):
        self.guid = item["guid"]
        self.name = item.get("name", "")
        self.server = item["server"]
        self.endpoint = endpoint_of(self.server)
        self.documents = [Document(d, base) for d in item.get("documents", [])]
        self.attachments = [Attachment(a, base) for a in item.get("attachments", [])]
        counts = {}
        for a in self.attachments:
            counts[a.document_guid] = counts.get(a.document_guid, 0) + 1
        for d in self.documents:
            if d.attachment_count is None:
                d.attachment_count = counts.get(d.guid, 0)


class Account:
    def __init__(self, item, default_server):
        self.email = item["email"]
        self.password = item.get("password", "")
        self.display_name = item.get("displayname", self.email.split("@")[0])
        self.language = item.get("language", "en")
        self.kb_guid = item.get("kb_guid", "")
        self.token = item.get("token") or "token-" + hashlib.md5(self.email.lower().encode("utf-8")).hexdigest()
        self.expiry = parse_time(item.get("expried_time"), "2030-01-01 00:00:00")
        self.server = item.get("server", default_server)
        self.books = list(item.get("books", []))

    def password_text(self):
        return "md5." + hashlib.md5(self.password.encode("utf-8")).hexdigest()


class Scenario:
    def __init__(self, data, base):
        self.base = base
        self.accounts_host = data.get("accounts_host", ACCOUNTS_HOST).lower()
        self.web_api_host = data.get("web_api_host", WEB_API_HOST).lower()
        self.ad_host = data.get("ad_host", AD_HOST).lower()
        self.subscriptions_server = data.get("subscriptions_server", DEFAULT_SUBSCRIPTIONS_SERVER)
        self.accounts = [Account(a, self.subscriptions_server) for a in data.get("accounts", [])]
        self.books = [Book(b, base) for b in data.get("books", [])]
        self.ads = list(data.get("ads", []))
        self.faults = {}
        for method, entries in data.get("faults", {}).items():
            if isinstance(entries, dict):
                entries = [entries]
            self.faults[method] = [dict(e) for e in entries]
        self.subscriptions_endpoints = {endpoint_of(a.server) for a in self.accounts}
        self.subscriptions_endpoints.add(endpoint_of(self.subscriptions_server))

    def account_by_email(self, email):
        for a in self.accounts:
            if a.email.lower() == email.lower():
                return a
        return None

    def account_by_token(self, token):
        for a in self.accounts:
            if a.token == token:
                return a
        return None

    def book(self, guid):
        for b in self.books:
            if b.guid.lower() == guid.lower():
                return b
        return None

    def take_fault(self, method, book=None):
        """The injected behaviour for the next call of a method, or None.
        Entries are used in order; an entry with "times" serves that many
        calls, one without serves every call from then on. An entry naming a
        "book" serves only calls for that book's GUID."""
        for entry in self.faults.get(method, []):
            if "book" in entry and (book is None or entry["book"].lower() != book.lower()):
                continue
            left = entry.get("times")
            if left is None:
                return entry
            if left > 0:
                entry["times"] = left - 1
                return entry
        return None


def load(path):
    with open(path, "rb") as f:
        # Control characters inside strings are allowed: raw answer bodies read
        # better with their line breaks.
        data = json.loads(f.read().decode("utf-8"), strict=False)
    # "base" names the folder for relative paths when the file lies elsewhere.
    return Scenario(data, data.get("base") or os.path.dirname(os.path.abspath(path)))


def empty():
    return Scenario({}, os.getcwd())
