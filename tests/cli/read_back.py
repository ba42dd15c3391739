# What a script reads back from the command line's JSON or CSV document, with Python's own
# parsers, against what the tree holds: read_back.py json|csv DOCUMENT [PATH TYPE SIZE]...
# (SIZE -1: none). Prints the entries that differ, as a sorted list: "[]" when none do.
# From JSON, a name comes byte for byte ("name_bytes"); from CSV, as U+FFFD for what is not
# UTF-8, less the quote that keeps a spreadsheet from running it.
import csv, io, json, os, re, sys
form, document, table = sys.argv[1], open(sys.argv[2], "rb").read(), sys.argv[3:]
expected = {os.fsencode(table[i]): (table[i + 1], int(table[i + 2]), True)
            for i in range(0, len(table), 3)}
when = lambda text: bool(re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", text))
got = {}
def walk(entries, prefix):
    for e in entries:
        name = e["name_bytes"].encode("latin-1") if "name_bytes" in e else e["name"].encode()
        got[prefix + name] = (e["type"], e.get("size", -1), when(e["modified"]))
        walk(e.get("contents", []), prefix + name + b"/")
if form == "json":
    top = json.loads(document)
    walk(top["contents"], b"")
    got[b"counts"] = (top["files"], top["folders"])
    expected[b"counts"] = (7, 4)  # as the footer counts: the link to a folder is one
else:
    expected = {path.decode("utf-8", "replace").encode(): v for path, v in expected.items()}
    rows = list(csv.reader(io.StringIO(document.decode("utf-8"), newline="")))
    assert rows.pop(0) == ["path", "type", "size", "modified"] and document.endswith(b"\r\n")
    for path, kind, size, modified in rows:
        path = path[1:] if path[:2] in ("'=", "'+", "'-", "'@") else path
        got[path.encode()] = (kind, int(size) if size else -1, when(modified))
print(sorted(set(got.items()) ^ set(expected.items())))
