#!/usr/bin/env python3
"""Compares what dvdinfo.exe (our reader, under Wine) finds on each test disc with lsdvd's reading:
titles, chapters per title, lengths, audio and subtitle languages."""
import re
import subprocess
import sys


def from_lsdvd(text):
    titles = []
    for line in text.splitlines():
        m = re.match(r"Title: (\d+), Length: (\d+):(\d\d):(\d\d\.\d+) Chapters: (\d+)", line)
        if m:
            length = int(m[2]) * 3600 + int(m[3]) * 60 + float(m[4])
            titles.append({"length": round(length, 3), "chapters": int(m[5]), "audio": [], "subs": []})
            continue
        m = re.match(r"\s+Audio: \d+, Language: (\S+) -", line)
        if m:
            titles[-1]["audio"].append(m[1])
        m = re.match(r"\s+Subtitle: \d+, Language: (\S+) -", line)
        if m:
            titles[-1]["subs"].append(m[1])
    return titles


def from_dvdinfo(text):
    titles = []
    for line in text.splitlines():
        m = re.match(r"Title: (\d+), Length: (\d+):(\d\d):(\d\d\.\d+), Chapters: (\d+)$", line)
        if m:
            length = int(m[2]) * 3600 + int(m[3]) * 60 + float(m[4])
            titles.append({"length": round(length, 3), "chapters": int(m[5]), "audio": [], "subs": []})
            continue
        m = re.match(r"  Audio: \d+, Language: (\S+) - \S+", line)
        if m:
            titles[-1]["audio"].append(m[1])
        m = re.match(r"  Subtitle: \d+, Language: (\S+) - \S+", line)
        if m:
            titles[-1]["subs"].append(m[1])
    return titles


def main(dvdinfo, discs_dir, names):
    failures = 0
    for name in names:
        disc = f"{discs_dir}/{name}"
        ours = subprocess.run(["wine", dvdinfo, disc], capture_output=True, text=True, timeout=120)
        theirs = subprocess.run(["lsdvd", "-x", disc], capture_output=True, text=True, timeout=120)
        a, b = from_dvdinfo(ours.stdout), from_lsdvd(theirs.stdout)
        if ours.returncode != 0 or not a or a != b:
            failures += 1
            print(f"{name}: dvdinfo (exit {ours.returncode}) {a}\n{name}: lsdvd {b}\n{ours.stderr}")
        else:
            print(f"{name}: {len(a)} titles agree")
    # A folder without a volume is a clear failure, not a crash.
    missing = subprocess.run(["wine", dvdinfo, f"{discs_dir}/none"], capture_output=True, text=True, timeout=120)
    if missing.returncode != 1 or "dvdinfo:" not in missing.stderr:
        failures += 1
        print(f"missing folder: exit {missing.returncode}, {missing.stderr}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
