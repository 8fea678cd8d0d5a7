#!/usr/bin/python3
"""The HTML pages the program writes, read back by a conforming HTML5 parser in strict mode
(any parse error fails): the page must parse cleanly and its <pre> must hold the picture exactly,
trailing spaces and trailing blank lines left out. Runs the real program without a display."""
import os
import subprocess
import sys
import tempfile

import html5lib

program = sys.argv[1]
FULL = "\u3000"
pictures = {
    "marks.txt": ["a & b < c > d \"e\" 'f'", FULL + "ＡＢ" + FULL + "  ", "<script>x</script>"],
    "blank-first.txt": ["", FULL * 3, "  ∧＿∧", " （　´∀｀）", FULL * 4, ""],
    "entities.txt": ["&amp; &lt; &#x41; &", "</pre><p>"],
}

with tempfile.TemporaryDirectory() as tmp:
    inputs = []
    for name, lines in pictures.items():
        path = os.path.join(tmp, name)
        with open(path, "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
        inputs.append(path)
    out = os.path.join(tmp, "out")
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    run = subprocess.run([program, "--export", "html", "--output", out] + inputs,
                         env=env, capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        sys.exit(f"export failed ({run.returncode}): {run.stderr}")

    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    for name, lines in pictures.items():
        page = os.path.join(out, name[:-4] + ".html")
        with open(page, "rb") as f:
            raw = f.read()
        raw.decode("utf-8")  # strictly UTF-8
        try:
            doc = parser.parse(raw, transport_encoding="utf-8")
        except html5lib.html5parser.ParseError as e:
            sys.exit(f"{name}: not valid HTML5: {e}")
        pre = doc.find(".//pre")
        if pre is None:
            sys.exit(f"{name}: no <pre>")
        if len(list(pre)) != 0:
            sys.exit(f"{name}: markup inside <pre>: escaping failed")
        want = [line.rstrip(" " + FULL) for line in lines]
        while want and want[-1] == "":
            want.pop()
        got = (pre.text or "").split("\n")
        if got[-1] == "":
            got.pop()
        if got != want:
            sys.exit(f"{name}: <pre> holds {got!r}, expected {want!r}")
        title = doc.find(".//title").text
        if title != name:
            sys.exit(f"{name}: title {title!r}")
        style = doc.find(".//style").text
        for needle in ("IPAGothic", '"MS Gothic"', "Osaka-Mono", "monospace", "line-height",
                       "letter-spacing"):
            if needle not in style:
                sys.exit(f"{name}: style lacks {needle}")

    # A file of pages: one page holding every page under its heading, each <pre> its picture.
    story = os.path.join(tmp, "story.ast")
    with open(story, "wb") as f:
        f.write("[AA][<一>]\r\na & b\r\n[AA][]\r\n</pre>\r\n".encode("cp932"))
    page = os.path.join(tmp, "story.html")
    run = subprocess.run([program, "--export", "html", "--output", page, story],
                         env=env, capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        sys.exit(f"export of pages failed ({run.returncode}): {run.stderr}")
    with open(page, "rb") as f:
        doc = parser.parse(f.read(), transport_encoding="utf-8")
    headings = [h.text for h in doc.findall(".//h2")]
    if headings != ["<一>", "ﾍﾟｰｼﾞ 2"]:
        sys.exit(f"story: headings {headings!r}")
    pres = [(pre.text or "").rstrip("\n") for pre in doc.findall(".//pre")]
    if pres != ["a & b", "</pre>"]:
        sys.exit(f"story: pictures {pres!r}")
print("PASS html pages")
