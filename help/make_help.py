#!/usr/bin/env python3
"""Builds the HTML Help project of Pramel.chm from the sources in help/.

  make_help.py SOURCE_DIR OUT_DIR VERSION

Pages are UTF-8 files in pages/: a header of "name: value" lines (title,
keywords separated by ";"), a line "---", then the body. The body may hold
<!-- example: NAME --> markers: each becomes the example NAME from
examples/ (its input bytes, the JScript and VBScript files and the text
they produce, exactly as the tests run and compare them). toc.txt gives the
table of contents: one page per line, indented by two spaces per level;
"# title" lines are folders without a page of their own.

The output (pages, style sheet, project, contents and index) is written in
code page 932, the code page of the help viewer on a Japanese system.
"""
import html
import os
import re
import sys

ENCODING = "cp932"


def read_text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def write_text(path, text):
    # Line ends as on Windows; every character must exist in code page 932.
    with open(path, "w", encoding=ENCODING, newline="\r\n") as f:
        f.write(text)


class Page:
    def __init__(self, name, path):
        self.name = name
        self.fields = {}
        text = read_text(path)
        head, sep, body = text.partition("\n---\n")
        if not sep:
            raise SystemExit(f"{path}: no '---' line after the header")
        for line in head.splitlines():
            key, _, value = line.partition(":")
            self.fields[key.strip()] = value.strip()
        self.title = self.fields.get("title") or sys.exit(f"{path}: no title")
        self.keywords = [k.strip() for k in self.fields.get("keywords", "").split(";") if k.strip()]
        self.body = body


def parse_manifest(path):
    """examples/manifest.txt: NAME | input bytes in hex | settings."""
    examples = {}
    for number, line in enumerate(read_text(path).splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        parts = [p.strip() for p in line.split("|")]
        if len(parts) != 3:
            raise SystemExit(f"{path}:{number}: expected NAME | BYTES | SETTINGS")
        name, data, settings = parts
        options = dict(o.split("=", 1) for o in settings.split()) if settings else {}
        examples[name] = (bytes.fromhex(data), options)
    return examples


SEPARATORS = {"0": "空白", "1": "タブ", "2": "カンマ"}


def render_example(source, name, manifest):
    if name not in manifest:
        raise SystemExit(f"example {name} is not in examples/manifest.txt")
    data, options = manifest[name]
    folder = os.path.join(source, "examples")
    parts = ['<div class="example">']
    settings = []
    if options.get("file"):
        settings.append(f"ファイル名 {options['file']}")
    if options.get("line", "16") != "16":
        settings.append(f"1 行のバイト数 {options['line']}")
    if options.get("sep", "0") != "0":
        settings.append(f"区切り記号 {SEPARATORS[options['sep']]}")
    if options.get("unit", "1") != "1":
        settings.append(f"データサイズ {options['unit']} バイト")
    if options.get("big", "0") == "1":
        settings.append("ビッグエンディアン")
    caption = f"入力ファイル（{len(data)} バイト）"
    if settings:
        caption += "　設定: " + "、".join(settings)
    rows = [" ".join(f"{b:02X}" for b in data[i:i + 16]) for i in range(0, len(data), 16)]
    parts.append(f'<p class="label">{html.escape(caption)}</p>')
    parts.append('<pre class="bytes">' + html.escape("\n".join(rows) or "（空）", quote=False) + "</pre>")
    for ext, language in ((".js", "JScript"), (".vbs", "VBScript")):
        code = read_text(os.path.join(folder, name + ext)).rstrip("\n")
        parts.append(f'<p class="label">{language}（{name}{ext}）</p>')
        parts.append('<pre class="code">' + html.escape(code, quote=False) + "</pre>")
    out = read_text(os.path.join(folder, name + ".out")).rstrip("\n")
    parts.append('<p class="label">テンプレートが出力するテキスト（どちらの言語でも同じ）</p>')
    parts.append('<pre class="output">' + html.escape(out, quote=False) + "</pre>")
    err_path = os.path.join(folder, name + ".err")
    if os.path.exists(err_path):
        err = read_text(err_path).rstrip("\n")
        parts.append('<p class="label">アウトプット バーに出るメッセージ</p>')
        parts.append('<pre class="output">' + html.escape(err, quote=False) + "</pre>")
    parts.append("</div>")
    return "\n".join(parts)


def parse_toc(path):
    """[(level, page name or None, folder title or None)]"""
    entries = []
    for line in read_text(path).splitlines():
        if not line.strip():
            continue
        level = (len(line) - len(line.lstrip(" "))) // 2
        item = line.strip()
        if item.startswith("# "):
            entries.append((level, None, item[2:]))
        else:
            entries.append((level, item, None))
    return entries


def page_html(page, body, version):
    return f"""<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">
<html lang="ja">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">
<title>{html.escape(page.title)}</title>
<link rel="stylesheet" type="text/css" href="style.css">
</head>
<body>
{body.strip()}
<p class="footer">Pramel {version}</p>
</body>
</html>
"""


def sitemap_item(name, local):
    return ('<LI><OBJECT type="text/sitemap">'
            f'<param name="Name" value="{html.escape(name)}">'
            f'<param name="Local" value="{html.escape(local)}"></OBJECT>')


SITEMAP_HEAD = """<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">
<HTML>
<HEAD>
<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">
</HEAD>
<BODY>
"""


def build_contents(toc, pages):
    lines = [SITEMAP_HEAD, '<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>',
             "<UL>"]
    level = 0
    for entry_level, name, folder in toc:
        while level < entry_level:
            lines.append("<UL>")
            level += 1
        while level > entry_level:
            lines.append("</UL>")
            level -= 1
        if name:
            lines.append(sitemap_item(pages[name].title, name))
        else:
            lines.append(f'<LI><OBJECT type="text/sitemap"><param name="Name" value="{html.escape(folder)}">'
                         "</OBJECT>")
    while level > 0:
        lines.append("</UL>")
        level -= 1
    lines += ["</UL>", "</BODY></HTML>"]
    return "\n".join(lines) + "\n"


def build_index(pages):
    # Every page is found under its title and its keywords; a keyword of
    # the form "word#anchor" leads to a place in the page.
    entries = []
    for name, page in pages.items():
        entries.append((page.title, name))
        for keyword in page.keywords:
            word, _, anchor = keyword.partition("#")
            entries.append((word.strip(), name + ("#" + anchor.strip() if anchor else "")))
    entries.sort(key=lambda e: (e[0].lower(), e[1]))
    lines = [SITEMAP_HEAD, "<UL>"]
    lines += [sitemap_item(word, local) for word, local in entries]
    lines += ["</UL>", "</BODY></HTML>"]
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 4:
        raise SystemExit("usage: make_help.py SOURCE_DIR OUT_DIR VERSION")
    source, out, version = sys.argv[1:]
    os.makedirs(out, exist_ok=True)
    toc = parse_toc(os.path.join(source, "toc.txt"))
    manifest = parse_manifest(os.path.join(source, "examples", "manifest.txt"))
    pages = {}
    for name in sorted(os.listdir(os.path.join(source, "pages"))):
        if name.endswith(".htm"):
            pages[name] = Page(name, os.path.join(source, "pages", name))
    in_toc = [name for _, name, _ in toc if name]
    for name in in_toc:
        if name not in pages:
            raise SystemExit(f"toc.txt names {name}, which is not in pages/")
    for name in pages:
        if name not in in_toc:
            raise SystemExit(f"pages/{name} is not in toc.txt")
    shown = set()
    for name, page in pages.items():
        def example(match):
            shown.add(match.group(1))
            return render_example(source, match.group(1), manifest)
        body = re.sub(r"<!--\s*example:\s*(\S+)\s*-->", example, page.body)
        body = body.replace("@VERSION@", version)
        write_text(os.path.join(out, name), page_html(page, body, version))
    unused = sorted(set(manifest) - shown)
    if unused:
        raise SystemExit("examples not shown on any page: " + ", ".join(unused))
    write_text(os.path.join(out, "style.css"), read_text(os.path.join(source, "style.css")))
    write_text(os.path.join(out, "Pramel.hhc"), build_contents(toc, pages))
    write_text(os.path.join(out, "Pramel.hhk"), build_index(pages))
    first = in_toc[0]
    project = f"""[OPTIONS]
Compatibility=1.1 or later
Compiled file=Pramel.chm
Contents file=Pramel.hhc
Index file=Pramel.hhk
Default topic={first}
Default Window=main
Display compile progress=No
Full-text search=Yes
Language=0x411 日本語
Title=Pramel ヘルプ

[WINDOWS]
main="Pramel ヘルプ","Pramel.hhc","Pramel.hhk","{first}","{first}",,,,,0x63520,,0x387e,,,,,,,,0

[FILES]
style.css
""" + "".join(name + "\n" for name in in_toc)
    write_text(os.path.join(out, "Pramel.hhp"), project)


if __name__ == "__main__":
    main()
