"""Turns a method's result into the HTTP answer, bent by an injected fault.

An answer is a dict: status, reason, headers (list of pairs), body (bytes)
and "send", the number of body bytes to send before closing the connection
(None: the whole body, the connection kept open).
"""
import base64
import xmlrpc.client

ERROR_PAGE = ("<html><head><title>%(status)d %(reason)s</title></head>"
              "<body><h1>%(reason)s</h1><p>%(detail)s</p></body></html>")


def html_error(status, reason, detail):
    body = (ERROR_PAGE % {"status": status, "reason": reason, "detail": detail}).encode("utf-8")
    return {"status": status, "reason": reason, "body": body, "send": None,
            "headers": [("Content-Type", "text/html")], "kind": "http%d" % status}


AD_PAGE = "<html><head><title>Tessary</title></head><body><p>Tessary</p></body></html>"


def ad_page():
    """The tool bar strip's page: any GET of the advertisement host."""
    return {"status": 200, "reason": "OK", "body": AD_PAGE.encode("utf-8"), "send": None,
            "headers": [("Content-Type", "text/html")], "kind": "ad_page"}


def xmlrpc_text(result):
    """The answer text as Python's XML-RPC server writes it: no encoding in
    the declaration, a line end after every element."""
    if isinstance(result, xmlrpc.client.Fault):
        return xmlrpc.client.dumps(result, methodresponse=True)
    return xmlrpc.client.dumps((result,), methodresponse=True)


def fault_text(code, text):
    answer = xmlrpc_text(xmlrpc.client.Fault(code, text if text is not None else ""))
    if text is None:
        answer = answer.replace("<member>\n<name>faultString</name>\n<value><string></string></value>\n</member>\n", "")
    return answer


def _with_declaration(text, declaration):
    """Replaces the declaration line: None keeps one without an encoding,
    False drops it, any other text names that encoding."""
    body = text.split("\n", 1)[1] if text.startswith("<?xml") else text
    if declaration is False:
        return body
    if declaration is None:
        return '<?xml version="1.0"?>\n' + body
    return '<?xml version="1.0" encoding="%s"?>\n' % declaration + body


def shape(text, content_type, entry):
    """The answer for a normal answer text, with the injected entry (or
    None) applied. Kinds:
      fault        an XML-RPC fault: "code", "string" (null: no faultString)
      http500      status 500 with an HTML error page
      content_type the normal answer under another "content_type"
      cut2         the answer without its last two characters (closing tag
                   lacking "e>"), Content-Length matching
      cut_middle   the first half of the answer, Content-Length matching
      cut_close    the full Content-Length announced, "missing" bytes (default
                   half the answer) never sent, the connection closed
      no_length    no Content-Length; the connection closes after the body
      not_xml      a "body" (default a plain sentence) that is not XML, as text/xml
      charset      the answer encoded as "encoding" under "content_type", its
                   declaration per "declaration" (null: no encoding named,
                   false: no declaration line)
      empty        an empty body
      raw          "body" (text, sent as UTF-8) or "body_base64", under
                   "content_type" (default text/xml) and "status" (default 200)
      stall        the full Content-Length announced, "missing" bytes (default
                   half the answer) never sent, the connection held open
      overlong     the whole answer under a Content-Length "extra" bytes
                   (default 10) short of it, the connection held open
      silent       no answer at all, the connection held open
      delay        the normal answer, sent "seconds" (default 2) after the
                   request was logged, or as soon as the file "until" (in the
                   scenario's folder) exists
    A held connection stays open until the client closes it.
    """
    kind = entry.get("kind", "fault") if entry else "normal"
    answer = {"status": 200, "reason": "OK", "send": None, "kind": kind,
              "headers": [("Content-Type", content_type)]}
    body = text.encode("utf-8")
    if kind == "fault":
        body = fault_text(int(entry.get("code", 301)), entry.get("string", "Fault")).encode("utf-8")
    elif kind == "http500":
        error = html_error(500, "Internal Server Error", entry.get("detail", "The service failed."))
        error["kind"] = kind
        return error
    elif kind == "content_type":
        answer["headers"] = [("Content-Type", entry.get("content_type", "text/plain"))]
    elif kind == "cut2":
        body = text.rstrip().encode("utf-8")[:-2]
    elif kind == "cut_middle":
        body = body[:len(body) // 2]
    elif kind == "cut_close":
        missing = int(entry.get("missing", len(body) // 2))
        answer["send"] = max(len(body) - missing, 0)
    elif kind == "stall":
        missing = int(entry.get("missing", len(body) // 2))
        answer["send"] = max(len(body) - missing, 0)
        answer["hold"] = True
    elif kind == "overlong":
        answer["length"] = max(len(body) - int(entry.get("extra", 10)), 0)
        answer["hold"] = True
    elif kind == "silent":
        answer["silent"] = True
        answer["hold"] = True
    elif kind == "delay":
        answer["delay"] = float(entry.get("seconds", 2))
        answer["until"] = entry.get("until")
    elif kind == "no_length":
        answer["send"] = len(body)
        answer["no_length"] = True
    elif kind == "not_xml":
        body = entry.get("body", "The service is resting. Please try again later.").encode("utf-8")
    elif kind == "charset":
        encoding = entry.get("encoding", "utf-8")
        text = _with_declaration(text, entry.get("declaration"))
        body = text.encode(encoding, "xmlcharrefreplace")
        answer["headers"] = [("Content-Type", entry.get("content_type", content_type))]
    elif kind == "empty":
        body = b""
    elif kind == "raw":
        if "body_base64" in entry:
            body = base64.b64decode(entry["body_base64"])
        else:
            body = entry.get("body", "").encode("utf-8")
        answer["status"] = int(entry.get("status", 200))
        answer["reason"] = entry.get("reason", "OK")
        answer["headers"] = [("Content-Type", entry.get("content_type", "text/xml"))]
    elif kind != "normal":
        raise ValueError("unknown fault kind: %s" % kind)
    answer["body"] = body
    return answer
