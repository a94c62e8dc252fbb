#!/usr/bin/env python3
"""Snapshots of a Wine prefix (registry and file tree) and their comparison.

  snapshot.py take PREFIX REGFILE DIR      DIR/registry.txt and DIR/files.txt
                                           from the exported registry
                                           (regedit /E) and the prefix's C:
  snapshot.py compare BEFORE AFTER [--kept REGEX ...]

compare prints every registry entry (a key, or a key and one value) and
every file or folder that was added, removed or changed, and fails when
there are any beyond Wine's own bookkeeping (below) and the ones matching a
--kept pattern. Each --kept pattern must match at least one difference:
what the user chose to keep must still be there.
"""
import os
import re
import sys

# What Wine itself writes while programs run, whoever runs them: device and
# display state, its per-session parameters, the service counter. And the
# uninstaller's copy of itself in the temporary folder, which the system
# removes at its next start (the test checks it is scheduled for that).
WINE_OWN = [re.compile(p) for p in (
    r"^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceCurrent\]",
    r"^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\] \"PendingFileRenameOperations\"",
    r"^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\(Class|Video|DeviceClasses)\\",
    r"^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\",
    r"^\[HKEY_LOCAL_MACHINE\\Hardware\\DEVICEMAP\\",
    r"^\[HKEY_USERS\\[^\\]+\\Software\\Wine\\Temporary System Parameters\\",
    r"^file drive_c/users/[^/]+/Temp/~nsu[0-9A-Za-z]*\.tmp(/Un[^/]*\.exe)?$",
)]


def registry_entries(path):
    text = open(path, "rb").read().decode("utf-16")
    text = re.sub(r"\\\r?\n\s*", "", text)  # continued values
    entries = []
    key = None
    for line in text.splitlines():
        if line.startswith("["):
            key = line
            entries.append(key)
        elif key and line.strip() and not line.startswith("REGEDIT") and not line.startswith("Windows Registry"):
            entries.append(key + " " + line)
    return entries


def file_entries(prefix):
    entries = []
    root = os.path.join(prefix, "drive_c")
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(dirs):
            entries.append("file " + os.path.relpath(os.path.join(folder, name), prefix))
        for name in sorted(files):
            path = os.path.join(folder, name)
            size = os.path.getsize(path) if not os.path.islink(path) else 0
            entries.append("file " + os.path.relpath(path, prefix))
            entries.append("size " + os.path.relpath(path, prefix) + " " + str(size))
    return entries


def take(prefix, regfile, out):
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "registry.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(registry_entries(regfile)) + "\n")
    with open(os.path.join(out, "files.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(file_entries(prefix)) + "\n")


def load(folder):
    entries = set()
    for name in ("registry.txt", "files.txt"):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            entries.update(line.rstrip("\n") for line in f if line.strip())
    return entries


def compare(before, after, kept):
    a, b = load(before), load(after)
    kept = [re.compile(k) for k in kept]
    used = [False] * len(kept)
    unexpected = []
    for sign, diff in (("-", sorted(a - b)), ("+", sorted(b - a))):
        for entry in diff:
            shown = entry.split(" ", 1)[1] if entry.startswith("size ") else entry
            subject = "file " + shown.rsplit(" ", 1)[0] if entry.startswith("size ") else entry
            if any(p.search(subject) for p in WINE_OWN):
                continue
            hits = [i for i, k in enumerate(kept) if k.search(subject)]
            for i in hits:
                used[i] = True
            if not hits:
                unexpected.append(sign + " " + entry)
    for line in unexpected:
        print("left behind or changed: " + line)
    missing = [k.pattern for k, u in zip(kept, used) if not u]
    for pattern in missing:
        print("not kept: " + pattern)
    return 0 if not unexpected and not missing else 1


def main(argv):
    if len(argv) == 5 and argv[1] == "take":
        take(argv[2], argv[3], argv[4])
        return 0
    if len(argv) >= 4 and argv[1] == "compare":
        kept = []
        rest = argv[4:]
        while rest:
            if rest[0] != "--kept" or len(rest) < 2:
                break
            kept.append(rest[1])
            rest = rest[2:]
        if not rest:
            return compare(argv[2], argv[3], kept)
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
