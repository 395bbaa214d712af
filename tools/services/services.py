"""The XML-RPC methods of the accounts service, the subscriptions service and
the book servers, and the advertisement list of the web API.

Every method checks the members it is sent as a real service would: a
missing member or one of the wrong type is answered with a fault, so a
client that sends a wrong request learns it at once.
"""
import xmlrpc.client

FAULT_BAD_PARAMS = -32602
FAULT_NO_METHOD = -32601
FAULT_PARSE = -32700
FAULT_LOGIN = 301
FAULT_TOKEN = 302
FAULT_NOT_SUBSCRIBED = 303
FAULT_NOT_FOUND = 304

ACCOUNTS_METHODS = ("accounts.clientLogin", "accounts.clientLogout")
SUBSCRIPTIONS_METHODS = ("subscription.getList",)
BOOK_METHODS = ("subscription.getDocumentList", "subscription.getAttachmentList",
                "subscription.getDocumentData", "subscription.getAttachmentData")


def fault(code, text):
    return xmlrpc.client.Fault(code, text)


def _members(params, layout):
    """The one struct parameter, checked against a list of (name, type)."""
    if len(params) != 1 or not isinstance(params[0], dict):
        raise fault(FAULT_BAD_PARAMS, "Expected one struct parameter")
    struct = params[0]
    for name, kind in layout:
        if name not in struct:
            raise fault(FAULT_BAD_PARAMS, "Missing member: %s" % name)
        value = struct[name]
        if kind is int and (not isinstance(value, int) or isinstance(value, bool)):
            raise fault(FAULT_BAD_PARAMS, "Member %s must be an int" % name)
        if kind is str and not isinstance(value, str):
            raise fault(FAULT_BAD_PARAMS, "Member %s must be a string" % name)
    if struct["client_type"] != "WIN":
        raise fault(FAULT_BAD_PARAMS, "Unknown client type: %s" % struct["client_type"])
    return struct


def _account(scenario, token):
    account = scenario.account_by_token(token)
    if account is None:
        raise fault(FAULT_TOKEN, "Invalid token")
    return account


def _book(scenario, account, guid, endpoint):
    book = scenario.book(guid)
    if book is None or book.endpoint != endpoint:
        raise fault(FAULT_NOT_FOUND, "No such book on this server: %s" % guid)
    if not any(b.lower() == guid.lower() for b in account.books):
        raise fault(FAULT_NOT_SUBSCRIBED, "Not subscribed: %s" % guid)
    return book


def _version(text):
    try:
        return int(text, 10)
    except ValueError:
        raise fault(FAULT_BAD_PARAMS, "Member version must be decimal text: %s" % text)


def _page(items, count, start):
    if count < 1:
        raise fault(FAULT_BAD_PARAMS, "Member count must be positive")
    chosen = sorted((i for i in items if i.version >= start), key=lambda i: i.version)
    return chosen[:count]


def login(scenario, params, endpoint):
    m = _members(params, [("email", str), ("password", str), ("program_type", str), ("client_type", str)])
    account = scenario.account_by_email(m["email"])
    if account is None or m["password"] != account.password_text():
        raise fault(FAULT_LOGIN, "Invalid user name or password")
    return {
        "token": account.token,
        "expried_time": xmlrpc.client.DateTime(account.expiry),
        "server": account.server,
        "kb_guid": account.kb_guid,
        "user": {"email": account.email, "displayname": account.display_name, "language": account.language},
    }


def logout(scenario, params, endpoint):
    m = _members(params, [("client_type", str), ("token", str), ("kb_guid", str)])
    _account(scenario, m["token"])
    return True


def get_list(scenario, params, endpoint):
    m = _members(params, [("client_type", str), ("token", str), ("count", int)])
    account = _account(scenario, m["token"])
    answer = []
    for guid in account.books:
        book = scenario.book(guid)
        if book is not None:
            answer.append({"subscription_guid": book.guid, "subscription_name": book.name,
                           "server_url": book.server})
    return answer[:max(m["count"], 0)]


def _list_request(scenario, params, endpoint):
    m = _members(params, [("client_type", str), ("token", str), ("subscription_guid", str),
                          ("count", int), ("version", str)])
    account = _account(scenario, m["token"])
    return m, _book(scenario, account, m["subscription_guid"], endpoint)


def get_document_list(scenario, params, endpoint):
    m, book = _list_request(scenario, params, endpoint)
    return [{
        "document_guid": d.guid,
        "document_category": d.category,
        "document_title": d.title,
        "dt_created": xmlrpc.client.DateTime(d.created),
        "dt_modified": xmlrpc.client.DateTime(d.modified),
        "document_iconindex": d.icon_index,
        "document_attachment_count": d.attachment_count,
        "version": d.version_text,
        "data_md5": d.data_md5,
    } for d in _page(book.documents, m["count"], _version(m["version"]))]


def get_attachment_list(scenario, params, endpoint):
    m, book = _list_request(scenario, params, endpoint)
    return [{
        "attachment_guid": a.guid,
        "attachment_document_guid": a.document_guid,
        "attachment_name": a.name,
        "attachment_description": a.description,
        "version": a.version_text,
        "data_md5": a.data_md5,
    } for a in _page(book.attachments, m["count"], _version(m["version"]))]


def get_document_data(scenario, params, endpoint):
    m = _members(params, [("document_guid", str), ("subscription_guid", str), ("client_type", str), ("token", str)])
    account = _account(scenario, m["token"])
    book = _book(scenario, account, m["subscription_guid"], endpoint)
    for d in book.documents:
        if d.guid.lower() == m["document_guid"].lower():
            return {"document_zip_data": xmlrpc.client.Binary(d.zip)}
    raise fault(FAULT_NOT_FOUND, "No such document: %s" % m["document_guid"])


def get_attachment_data(scenario, params, endpoint):
    m = _members(params, [("attachment_guid", str), ("subscription_guid", str), ("client_type", str), ("token", str)])
    account = _account(scenario, m["token"])
    book = _book(scenario, account, m["subscription_guid"], endpoint)
    for a in book.attachments:
        if a.guid.lower() == m["attachment_guid"].lower():
            return {"attachment_zip_data": xmlrpc.client.Binary(a.zip)}
    raise fault(FAULT_NOT_FOUND, "No such attachment: %s" % m["attachment_guid"])


METHODS = {
    "accounts.clientLogin": login,
    "accounts.clientLogout": logout,
    "subscription.getList": get_list,
    "subscription.getDocumentList": get_document_list,
    "subscription.getAttachmentList": get_attachment_list,
    "subscription.getDocumentData": get_document_data,
    "subscription.getAttachmentData": get_attachment_data,
}


def _attr(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def ads_answer(scenario):
    """The web API's advertisement list: an "Ads" element with one child per
    advertisement carrying "Title" and "URL"."""
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<Ads>"]
    for ad in scenario.ads:
        lines.append('\t<Ad Title="%s" URL="%s"/>' % (_attr(ad.get("title", "")), _attr(ad.get("url", ""))))
    lines.append("</Ads>")
    return "\r\n".join(lines) + "\r\n"
