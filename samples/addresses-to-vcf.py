#!/usr/bin/env python3
"""Writes samples/addresses.vcf, the sample address book as vCard 4.0 cards, from
samples/addresses.json: run it again whenever the JSON changes. Each card carries its JSON
section as its category, so both files offer the same sections (the .vcf one more, named
after the file, holding every card)."""

import json
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

# Items a card holds as single text properties.
SIMPLE = [("Position", "TITLE"), ("Assistant", "X-ASSISTANT"), ("Spouse", "X-SPOUSE")]
PHONES = [("Phone", '"work,voice"'), ("Business Tel2", '"work,voice"'), ("Fax", '"work,fax"'),
          ("Home-Phone", '"home,voice"'), ("Home-Fax", '"home,fax"')]
EMAILS = [("E-mail", "work"), ("Home-Email", "home")]
ADDRESSES = [("", "work"), ("Home-", "home")]
KNOWN = {"FirstName", "LastName", "Title", "Company", "Extn", "Address", "City", "State", "Zip",
         "Country"} | {item for item, _ in SIMPLE + PHONES + EMAILS} | {
         "Home-" + item for item in ("Address", "City", "State", "Zip", "Country")}


def escaped(text):
    return (text.replace("\\", "\\\\").replace(",", "\\,").replace(";", "\\;")
            .replace("\r", "\\n"))


def folded(line):
    """The line cut into pieces of at most 75 bytes, never inside a character."""
    pieces, piece = [], ""
    for char in line:
        if len((piece + char).encode()) > (75 if not pieces else 74):
            pieces.append(piece)
            piece = ""
        piece += char
    pieces.append(piece)
    return "\r\n ".join(pieces) + "\r\n"


def card(record, section):
    unknown = set(record) - KNOWN
    if unknown:
        raise SystemExit(f"no vCard form for {sorted(unknown)} in {record}")
    if "Business Tel2" in record and "Phone" not in record:
        raise SystemExit(f"a second work number needs a first: {record}")
    lines = ["BEGIN:VCARD", "VERSION:4.0", "PRODID:-//Penlark//sample address book//EN"]
    first, last = record.get("FirstName", ""), record.get("LastName", "")
    if first or last:
        lines.append("FN:" + escaped(" ".join(name for name in (first, last) if name)))
        lines.append(f"N:{escaped(last)};{escaped(first)};;{escaped(record.get('Title', ''))};")
    else:
        lines += ["KIND:org", "FN:" + escaped(record["Company"])]
    if "Company" in record:
        lines.append("ORG:" + escaped(record["Company"]))
    for item, name in SIMPLE:
        if item in record:
            lines.append(f"{name}:{escaped(record[item])}")
    for prefix, kind in ADDRESSES:
        parts = [record.get(prefix + item, "")
                 for item in ("Address", "City", "State", "Zip", "Country")]
        if any(parts):
            lines.append(f"ADR;TYPE={kind}:;;" + ";".join(escaped(part) for part in parts))
    for item, kind in PHONES:
        if item in record:
            extension = f" ext. {record['Extn']}" if item == "Phone" and "Extn" in record else ""
            lines.append(f"TEL;TYPE={kind}:{escaped(record[item])}{extension}")
    for item, kind in EMAILS:
        if item in record:
            lines.append(f"EMAIL;TYPE={kind}:{escaped(record[item])}")
    lines += ["CATEGORIES:" + escaped(section), "END:VCARD"]
    return "".join(folded(line) for line in lines)


def main():
    book = json.loads((HERE / "addresses.json").read_text(encoding="utf-8"))
    cards = [card(record, section["name"])
             for section in book["sections"] for record in section["records"]]
    (HERE / "addresses.vcf").write_bytes("".join(cards).encode("utf-8"))


if __name__ == "__main__":
    main()
