#!/usr/bin/env python3
"""Whether other readers read the files that kelcaption export writes as kelcaption does.

For each source file and each format FFmpeg reads (SubRip, WebVTT, SCC), the source is exported,
then the exported file is turned into SubRip twice: by kelcaption's own reader and by FFmpeg's.
Timed text, which FFmpeg does not read, is read by Python's XML parser and the TTML time
expressions below, and compared with kelcaption's reading of the source. The two are compared
cue by cue: the text without tags and line breaks, and the times. SCC times
are compared within 3 frames: FFmpeg reads a time code HH:MM:SS;FF as the whole seconds plus FF
frames of 1/29.97 s, which runs up to 70 ms ahead of the frame's own time late in a minute.
FFmpeg 5.1 shows the extended em dash as its stand-in '-', so SCC text is compared with the two
taken as one. Prints the figures and the largest time difference; exits 1 when any cue disagrees.

Sources after --screens are roll-up or paint-on captions, which FFmpeg does not give a cue per
state: it gives one at each roll and erasure, its text the screens shown since the cue before, one
after another. Their SCC is compared screen by screen: the last screen of each of FFmpeg's cues
must be the text of a state of kelcaption's that ends when that cue ends (the roll or erasure).

usage: ffmpeg_agreement.py KELCAPTION WORKDIR SOURCE... [--screens SOURCE...]
"""
import os
import re
import subprocess
import sys

FORMATS = [("srt", [], 0), ("vtt", [], 0), ("scc", ["--time-display", "29.97df"], 100),
           ("xml", [], 0), ("xml", ["--time-display", "29.97ndf"], 17)]
TTML = "{http://www.w3.org/ns/ttml}"
PARAMETER = "{http://www.w3.org/ns/ttml#parameter}"


def ttml_cues(text):
    """The <p> elements of a TTML document as (begin ms, end ms, text)."""
    import xml.etree.ElementTree as ElementTree
    root = ElementTree.fromstring(text)
    rate = float(root.get(PARAMETER + "frameRate", "30"))
    numerator, denominator = root.get(PARAMETER + "frameRateMultiplier", "1 1").split()
    rate *= float(numerator) / float(denominator)

    def ms_of(expression):
        if expression.endswith("f"):
            return round(int(expression[:-1]) / rate * 1000)
        if expression.endswith("ms"):
            return round(float(expression[:-2]))
        return ms(expression)

    out = []
    def words(node):
        # A <br/> separates the lines; spans add their text and what follows them.
        yield node.text or ""
        for child in node:
            yield " " if child.tag == TTML + "br" else ""
            yield from words(child)
            yield child.tail or ""

    return [(ms_of(p.get("begin")), ms_of(p.get("end")), " ".join("".join(words(p)).split()))
            for p in root.iter(TTML + "p")]


def cues(srt, last_screen=False):
    out = []
    for block in re.split(r"\n\s*\n", srt.replace("\r", "").strip()):
        lines = block.split("\n")
        timing = next((i for i, line in enumerate(lines) if "-->" in line), None)
        if timing is None:
            continue
        begin, end = [ms(t) for t in lines[timing].split("-->")]
        text = " ".join(lines[timing + 1:])
        if last_screen:
            # FFmpeg starts each screen of a roll-up or paint-on cue with its position tag.
            text = re.split(r"\{\\an\d\}", text)[-1]
        text = re.sub(r"<[^>]*>|\{[^}]*\}", "", text).replace("\\h", " ").replace("\\N", " ")
        out.append((begin, end, " ".join(text.split())))
    return out


def screens_agree(ours, theirs, tolerance):
    """For each of FFmpeg's cues, whether a state of ours shows its last screen and ends with it."""
    return [any(text == b[2] and abs(end - b[1]) <= tolerance for _, end, text in ours) for b in theirs]


def ms(text):
    h, m, s = text.strip().split()[0].replace(",", ".").split(":")
    return round((int(h) * 3600 + int(m) * 60 + float(s)) * 1000)


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    failed = False
    sources = sys.argv[3:]
    screens = set(sources[sources.index("--screens") + 1:]) if "--screens" in sources else set()
    for source in [s for s in sources if s != "--screens"]:
        name = os.path.basename(source)
        for extension, options, tolerance in FORMATS:
            written = os.path.join(work, name + "".join(options).replace("--time-display", "-") + "." + extension)
            run([tool, "export", source, "-o", written] + options)
            if extension == "xml":
                ours = cues(run([tool, "export", source, "-o", "-", "--format", "srt"]))
                with open(written, encoding="utf-8") as file:
                    theirs = ttml_cues(file.read())
            else:
                ours = cues(run([tool, "export", written, "-o", "-", "--format", "srt"]))
                by_screen = extension == "scc" and source in screens
                theirs = cues(run(["ffmpeg", "-v", "error", "-i", written, "-f", "srt", "-"]), by_screen)
            if extension == "scc":
                ours = [(b, e, t.replace("\u2014", "-")) for b, e, t in ours]
            if extension == "scc" and source in screens:
                agreeing = screens_agree(ours, theirs, tolerance)
                failed |= not all(agreeing) or not theirs
                print(f"{name} as .scc {' '.join(options)}: kelcaption {len(ours)} states, ffmpeg {len(theirs)} cues; "
                      f"{sum(agreeing)} of ffmpeg's last screens are states of kelcaption's ending with them "
                      f"(within {tolerance} ms)" + ("" if all(agreeing) and theirs else "  DISAGREE"))
                for agrees, b in zip(agreeing, theirs):
                    if not agrees:
                        print(f"  ffmpeg     {b}")
                continue
            same_text = sum(1 for a, b in zip(ours, theirs) if a[2] == b[2])
            same_time = sum(1 for a, b in zip(ours, theirs)
                            if abs(a[0] - b[0]) <= tolerance and abs(a[1] - b[1]) <= tolerance)
            largest = max([max(abs(a[0] - b[0]), abs(a[1] - b[1])) for a, b in zip(ours, theirs)], default=0)
            agree = len(ours) == len(theirs) == same_text == same_time
            failed |= not agree
            reader = "python xml" if extension == "xml" else "ffmpeg"
            print(f"{name} as .{extension} {' '.join(options)}: kelcaption {len(ours)} cues, {reader} {len(theirs)}; "
                  f"text agrees {same_text}, times agree {same_time} (within {tolerance} ms; largest difference {largest} ms)"
                  + ("" if agree else "  DISAGREE"))
            if not agree:
                for a, b in zip(ours, theirs):
                    if a[2] != b[2] or max(abs(a[0] - b[0]), abs(a[1] - b[1])) > tolerance:
                        print(f"  kelcaption {a}\n  {reader:10} {b}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
