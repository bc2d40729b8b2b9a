#!/usr/bin/env python3
"""Whether FFmpeg reads the files that kelcaption export writes as kelcaption does.

For each source file and each format FFmpeg reads (SubRip, WebVTT, SCC), the source is exported,
then the exported file is turned into SubRip twice: by kelcaption's own reader and by FFmpeg's.
The two are compared cue by cue: the text without tags and line breaks, and the times. SCC times
are compared within 3 frames: FFmpeg reads a time code HH:MM:SS;FF as the whole seconds plus FF
frames of 1/29.97 s, which runs up to 70 ms ahead of the frame's own time late in a minute.
FFmpeg 5.1 shows the extended em dash as its stand-in '-', so SCC text is compared with the two
taken as one. Prints the figures and the largest time difference; exits 1 when any cue disagrees.

usage: ffmpeg_agreement.py KELCAPTION WORKDIR SOURCE...
"""
import os
import re
import subprocess
import sys

FORMATS = [("srt", [], 0), ("vtt", [], 0), ("scc", ["--time-display", "29.97df"], 100)]


def cues(srt):
    out = []
    for block in re.split(r"\n\s*\n", srt.replace("\r", "").strip()):
        lines = block.split("\n")
        timing = next((i for i, line in enumerate(lines) if "-->" in line), None)
        if timing is None:
            continue
        begin, end = [ms(t) for t in lines[timing].split("-->")]
        text = " ".join(lines[timing + 1:])
        text = re.sub(r"<[^>]*>|\{[^}]*\}", "", text).replace("\\h", " ").replace("\\N", " ")
        out.append((begin, end, " ".join(text.split())))
    return out


def ms(text):
    h, m, s = text.strip().split()[0].replace(",", ".").split(":")
    return round((int(h) * 3600 + int(m) * 60 + float(s)) * 1000)


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    failed = False
    for source in sys.argv[3:]:
        name = os.path.basename(source)
        for extension, options, tolerance in FORMATS:
            written = os.path.join(work, name + "." + extension)
            run([tool, "export", source, "-o", written] + options)
            ours = cues(run([tool, "export", written, "-o", "-", "--format", "srt"]))
            theirs = cues(run(["ffmpeg", "-v", "error", "-i", written, "-f", "srt", "-"]))
            if extension == "scc":
                ours = [(b, e, t.replace("\u2014", "-")) for b, e, t in ours]
            same_text = sum(1 for a, b in zip(ours, theirs) if a[2] == b[2])
            same_time = sum(1 for a, b in zip(ours, theirs)
                            if abs(a[0] - b[0]) <= tolerance and abs(a[1] - b[1]) <= tolerance)
            largest = max([max(abs(a[0] - b[0]), abs(a[1] - b[1])) for a, b in zip(ours, theirs)], default=0)
            agree = len(ours) == len(theirs) == same_text == same_time
            failed |= not agree
            print(f"{name} as .{extension}: kelcaption {len(ours)} cues, ffmpeg {len(theirs)}; "
                  f"text agrees {same_text}, times agree {same_time} (within {tolerance} ms; largest difference {largest} ms)"
                  + ("" if agree else "  DISAGREE"))
            if not agree:
                for a, b in zip(ours, theirs):
                    if a[2] != b[2] or max(abs(a[0] - b[0]), abs(a[1] - b[1])) > tolerance:
                        print(f"  kelcaption {a}\n  ffmpeg     {b}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
