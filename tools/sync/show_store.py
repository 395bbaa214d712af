#!/usr/bin/env python3
"""Prints what a sync stored in a Data folder: per account its books with
their names and versions, the documents and attachments with their files,
and the advertisement list of Tessary.xml.

    python3 tools/sync/show_store.py build/demo/Data
"""
import os
import sqlite3
import sys
import xml.etree.ElementTree as ElementTree


def file_note(path):
    return "%d bytes" % os.path.getsize(path) if os.path.isfile(path) else "missing"


def show_account(folder):
    database = sqlite3.connect("file:%s?mode=ro" % os.path.join(folder, "index.db"), uri=True)
    meta = {(name, key): value for name, key, value in
            database.execute("select META_NAME, META_KEY, META_VALUE from QEL_READER_META")}
    print("Account %s" % meta.get(("ACCOUNT", "USERNAME"), os.path.basename(folder)))
    # A book named or versioned by a sync counts even when it holds no document yet.
    books = {row[0].upper() for row in database.execute("select distinct SUBSCRIPTION_GUID from QEL_READER_DOCUMENT")}
    books |= {name for name, key in meta if key in ("SUBSCRIPTION", "DOCUMENTVERSION", "ATTACHMENTVERSION")}
    for book in sorted(books):
        print("  Book %s (%s): document version %s, attachment version %s" % (
            meta.get((book, "SUBSCRIPTION"), book), book.lower(), meta.get((book, "DOCUMENTVERSION"), "-"),
            meta.get((book, "ATTACHMENTVERSION"), "-")))
        for title, location, version, guid in database.execute(
                "select DOCUMENT_TITLE, DOCUMENT_LOCATION, QEL_VERSION, DOCUMENT_GUID from QEL_READER_DOCUMENT"
                " where upper(SUBSCRIPTION_GUID) = ? order by DOCUMENT_LOCATION, DOCUMENT_TITLE", (book,)):
            print("    %-24s %-34s v%-5s %s" % (location, title, version, guid))
        for name, version, document in database.execute(
                "select ATTACHMENT_NAME, QEL_VERSION, DOCUMENT_GUID from QEL_READER_DOCUMENT_ATTACHMENT"
                " where upper(SUBSCRIPTION_GUID) = ? order by ATTACHMENT_NAME", (book,)):
            print("    attachment %-28s v%-5s of %s" % (name, version, document))
    data_files = []
    for root, _, files in os.walk(folder):
        data_files += [os.path.join(root, f) for f in files if f.endswith(".kvd")]
    print("  %d enciphered data files, %d bytes" % (len(data_files), sum(os.path.getsize(f) for f in data_files)))
    attachments = os.path.join(folder, "Attachments")
    for name in sorted(os.listdir(attachments)) if os.path.isdir(attachments) else []:
        print("  Attachments\\%s (%s)" % (name, file_note(os.path.join(attachments, name))))
    database.close()


def show_ads(data):
    path = os.path.join(data, "Tessary.xml")
    if not os.path.isfile(path):
        print("No Tessary.xml")
        return
    with open(path, "rb") as f:
        text = f.read().decode("utf-16")
    root = ElementTree.fromstring(text)
    ads = root.find("Ads")
    print("Advertisements in Tessary.xml:")
    for ad in ads if ads is not None else []:
        print("  %s -> %s" % (ad.get("Title"), ad.get("URL")))


def main(data):
    for name in sorted(os.listdir(data)):
        folder = os.path.join(data, name)
        if os.path.isfile(os.path.join(folder, "index.db")):
            show_account(folder)
    show_ads(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "Data"))
