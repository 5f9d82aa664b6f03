#!/usr/bin/env python3
"""Adds one localisation key, with its text in every language, to the Linguist sources.

    translations/add-key.py [--table Korvale] KEY en="English text" fr="Texte français"

Every korvale_LANG.ts of this folder needs a text; the entry is put in the table (the translation
context) in key order, and a key that is already there is refused rather than overwritten.
"""
import argparse
import html
import pathlib
import re
import sys

FOLDER = pathlib.Path(__file__).resolve().parent
MESSAGE = re.compile(r"[ \t]*<message>.*?</message>\n", re.S)
SOURCE = re.compile(r"<source>(.*?)</source>", re.S)


def escape(text):
    return html.escape(text, quote=False)


def message_xml(key, text):
    return ("    <message>\n"
            f"        <source>{escape(key)}</source>\n"
            f"        <translation>{escape(text)}</translation>\n"
            "    </message>\n")


def add_to_file(path, table, key, text):
    contents = path.read_text(encoding="utf-8")
    context = re.search(r"<context>\s*<name>" + re.escape(escape(table)) + r"</name>\n(.*?)</context>",
                        contents, re.S)
    entry = message_xml(key, text)
    if not context:
        block = f"<context>\n    <name>{escape(table)}</name>\n{entry}</context>\n"
        at = contents.rindex("</TS>")
        return contents[:at] + block + contents[at:]
    at = context.end(1)
    for message in MESSAGE.finditer(contents, context.start(1), context.end(1)):
        source = html.unescape(SOURCE.search(message.group(0)).group(1))
        if source == key:
            raise SystemExit(f"{path.name}: {table} already has {key!r}")
        if source > key:
            at = message.start()
            break
    return contents[:at] + entry + contents[at:]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", default="Korvale")
    parser.add_argument("key")
    parser.add_argument("texts", nargs="+", metavar="LANG=TEXT")
    args = parser.parse_args()
    texts = dict(item.split("=", 1) for item in args.texts if "=" in item)
    files = {path.stem.split("_", 1)[1]: path for path in sorted(FOLDER.glob("korvale_*.ts"))}
    missing = sorted(set(files) - set(texts))
    unknown = sorted(set(texts) - set(files))
    if missing or unknown or len(texts) != len(args.texts):
        sys.exit(f"need exactly one LANG=TEXT for each of: {', '.join(files)}")
    updated = {lang: add_to_file(path, args.table, args.key, texts[lang])
               for lang, path in files.items()}
    for lang, contents in updated.items():
        files[lang].write_text(contents, encoding="utf-8")


if __name__ == "__main__":
    main()
