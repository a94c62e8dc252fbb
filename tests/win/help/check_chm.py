#!/usr/bin/env python3
"""Unpacks the built Pramel.chm and checks it as the help viewer will see it.

  check_chm.py EXTRACT_CHMLIB CHM WORK_DIR SOURCE_DIR

- every page of the file is in the table of contents and in the index, and
  every entry of both leads to a page (and an anchor) that is in the file;
- every link and image of every page leads to a file (and anchor) inside;
- pages are code page 932 and say so, and the file's language is Japanese;
- every member of the library's interfaces has an index entry and an
  example in JScript and in VBScript;
- the command page names every menu command with its shortcut key;
- no page names the program's internal classes.
Prints each fault and exits 1 when there is any.
"""
import html
import os
import re
import shutil
import struct
import subprocess
import sys

faults = []


def fault(text):
    faults.append(text)


def sitemap(path):
    """(Name, Local) pairs of an HTML Help contents or index file."""
    text = open(path, encoding="cp932").read()
    entries = []
    for obj in re.findall(r"<OBJECT\s+type=\"text/sitemap\">(.*?)</OBJECT>", text, re.S | re.I):
        params = dict((k.lower(), html.unescape(v)) for k, v in
                      re.findall(r"<param\s+name=\"(\w+)\"\s+value=\"([^\"]*)\"", obj, re.I))
        entries.append((params.get("name", ""), params.get("local")))
    return entries


def anchors(page_text):
    return set(re.findall(r"\b(?:id|name)=\"([^\"]+)\"", page_text))


def main():
    extract, chm, work, source = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    run = subprocess.run([extract, chm, work], capture_output=True, text=True)
    if run.returncode != 0 or not os.path.isdir(work):
        sys.exit(f"{extract} failed on {chm}: {run.stdout}{run.stderr}")

    pages = {}
    for name in sorted(os.listdir(work)):
        if name.lower().endswith(".htm"):
            raw = open(os.path.join(work, name), "rb").read()
            try:
                pages[name] = raw.decode("cp932")
            except UnicodeDecodeError as e:
                fault(f"{name}: not code page 932 ({e})")
                pages[name] = raw.decode("cp932", "replace")
    if len(pages) < 20:
        fault(f"only {len(pages)} pages in the file")
    files = set()
    for root, _, names in os.walk(work):
        for n in names:
            files.add(os.path.relpath(os.path.join(root, n), work).replace(os.sep, "/"))

    def check_target(where, target):
        target = html.unescape(target)
        path, _, anchor = target.partition("#")
        if not path:
            path = where if where.endswith(".htm") else ""
        if path not in files:
            fault(f"{where}: leads to {target}, which is not in the file")
        elif anchor and path in pages and anchor not in anchors(pages[path]):
            fault(f"{where}: leads to {target}, but {path} has no anchor {anchor}")
        return path

    for kind, file_name in (("contents", "Pramel.hhc"), ("index", "Pramel.hhk")):
        if file_name not in files:
            fault(f"no {kind} file {file_name} in the help file")
            continue
        entries = sitemap(os.path.join(work, file_name))
        reached = set()
        for name, local in entries:
            if local:
                reached.add(check_target(f"{kind} entry {name}", local))
        for page in pages:
            if page not in reached:
                fault(f"{page} is not in the {kind}")
        if kind == "index":
            keywords = {name for name, _ in entries}

    for name, text in pages.items():
        if 'charset=Shift_JIS' not in text:
            fault(f"{name}: no Shift_JIS charset")
        title = re.search(r"<title>(.*?)</title>", text, re.S)
        if not title or not title.group(1).strip():
            fault(f"{name}: no title")
        for target in re.findall(r"\b(?:href|src)=\"([^\"]+)\"", text):
            if re.match(r"^(https?|mailto|ms-its|mk):", target):
                continue
            check_target(name, target)
        for word in ("CTavFile", "CCom", "CPramel", "CScriptEngine", "SessionBlock", "VeldaShare", "仕様"):
            if word in re.sub(r"<[^>]+>", "", text):
                fault(f"{name}: names {word}")

    # Language of the file: the LCID record (code 4) of #SYSTEM.
    system = open(os.path.join(work, "#SYSTEM"), "rb").read() if "#SYSTEM" in files else b""
    lcid, pos = None, 4
    while pos + 4 <= len(system):
        code, length = struct.unpack_from("<HH", system, pos)
        if code == 4:
            lcid = struct.unpack_from("<I", system, pos + 4)[0]
        pos += 4 + length
    if lcid != 0x411:
        fault(f"language of the help file is {lcid!r}, not 0x411")

    # Every member of the library's interfaces: an index entry, and an
    # example file in each language that calls it.
    idl = open(os.path.join(source, "resources", "velda", "Velda.idl"), encoding="utf-8").read()
    members = set(re.findall(r"HRESULT\s+(\w+)\s*\(", idl))
    # Members that hand results back through their arguments: JScript
    # passes arguments by value only, so its example can only name them.
    by_reference = set(re.findall(r"HRESULT\s+(\w+)\s*\(\[out\][^;]*\)", idl))
    if len(members) < 40:
        fault(f"only {len(members)} members found in Velda.idl")
    example_dir = os.path.join(source, "help", "examples")
    sources = {".js": "", ".vbs": ""}
    for n in os.listdir(example_dir):
        ext = os.path.splitext(n)[1]
        if ext in sources:
            sources[ext] += open(os.path.join(example_dir, n), encoding="utf-8").read()
    for member in sorted(members):
        if member not in keywords:
            fault(f"no index entry for {member}")
        for ext, code in sources.items():
            # A call or property use: ".Member" in either language.
            pattern = (r"\b" if ext == ".js" and member in by_reference else r"\.") + member + r"\b"
            if not re.search(pattern, code):
                fault(f"no {ext} example uses {member}")

    # The command page: every menu command with its shortcut key.
    rc = open(os.path.join(source, "resources", "pramel", "Pramel.rc"), encoding="utf-8").read()
    commands = [p for p in pages.values() if "<h1>コマンド一覧</h1>" in p]
    if len(commands) != 1:
        fault("no single page with the heading コマンド一覧")
    else:
        plain = html.unescape(re.sub(r"<[^>]+>", "", commands[0]))
        for item in re.findall(r"MENUITEM\s+\"([^\"]+)\"", rc):
            label, _, key = item.partition("\\t")
            label = re.sub(r"\(&\w\)|&|\.\.\.$", "", label).strip()
            if label and label not in plain:
                fault(f"command page lacks the command {label}")
            if key and key not in plain:
                fault(f"command page lacks the key {key} of {label}")

    for f in faults:
        print(f)
    print(f"{len(pages)} pages, {len(members)} library members, {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
