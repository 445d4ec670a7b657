#!/usr/bin/env python3
"""The command line under Wine, started from a shell as a remote job would be.

Seeds the demo registry (scripts/demo.reg.in) and a few hostile entries,
then: /list /csv read back by Python's csv module (every row, every field),
/list /json and /list to a pipe agree with it, /delete-bad /yes followed by
/undo with the day's changes files brings the Uninstall keys back byte for
byte (compared as `reg export` writes them), and the exit codes.

Usage: command_line.py BUILD/Quillet.exe
"""
import csv
import datetime
import glob
import io
import json
import os
import re
import shutil
import subprocess
import sys

COLUMNS = ["Name", "Command", "Subkey", "Source", "Publisher", "Version", "Installed", "Size", "Status", "Reason"]
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
WOW_UNINSTALL = r"Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"
HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))

# (subkey, name, command): texts a spreadsheet or a careless writer would trip on.
HOSTILE = [
    ("Hostile comma", 'Tools, "Pro" Edition', r'"C:\Program Files\Tools Pro\u.exe" /x'),
    ("Hostile formula", "=cmd|' /C calc'!A0", "+C:\\Nowhere\\x.exe"),
    ("Hostile \u65e5\u672c", "\u00dcn\u00efc\u00f8d\u00e9 \u65e5\u672c \u0416 \U0001F600", "@C:\\Gone\\u.exe"),
]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)


def environment(exe):
    build = os.path.dirname(os.path.abspath(exe))
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8", errors="replace") as cache:
        win64 = "x86_64-w64-mingw32" in cache.read()
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(build, "wineprefix"))
    env["WINELOADER"] = "/usr/lib/wine/wine64" if win64 else "/usr/lib/wine/wine"
    env["WINEARCH"] = "win64" if win64 else "win32"
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    env["LC_ALL"] = "C.UTF-8"  # Wine maps Unix names through the locale
    return env, win64


def wine(env, *args, cwd=None):
    return subprocess.run(["taskset", "-c", "0", env["WINELOADER"], *args], env=env, cwd=cwd,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=120)


def prefix_user(env):
    """The prefix's user, as scripts/run finds it."""
    users = os.path.join(env["WINEPREFIX"], "drive_c", "users")
    names = sorted(n for n in os.listdir(users) if n not in ("Public", "Default")) if os.path.isdir(users) else []
    return names[0] if names else ""


def demo_text(user):
    """The demo file's text with its placeholders filled in (@E9@: an e acute)."""
    text = open(os.path.join(SOURCE, "scripts", "demo.reg.in"), encoding="ascii").read()
    return text.replace("@E9@", "\u00e9").replace("@USER@", user)


def detail_text(value):
    """A string value's text as the list shows a detail: control characters as blanks."""
    if not value or value[0] != "sz":
        return ""
    return "".join(" " if ord(c) < 0x20 else c for c in value[1].split("\0")[0][:1024])


def detail_number(value):
    if value and value[0] == "dword":
        return value[1]
    text = detail_text(value).strip(" \t")
    return int(text) if text.isdigit() and len(text) <= 18 else None


def installed(value):
    """YYYY-MM-DD of a real date from InstallDate's YYYYMMDD, else nothing."""
    text = detail_text(value).strip(" \t")
    if len(text) != 8 or not text.isdigit():
        return ""
    try:
        date = datetime.date(int(text[:4]), int(text[4:6]), int(text[6:]))
    except ValueError:
        return ""
    return date.isoformat() if date.year >= 1601 else ""


def size_text(kib):
    if kib is None:
        return ""
    if kib < 1024:
        return "%d KB" % kib
    if kib < 1024 * 1024:
        return "%.1f MB" % (kib / 1024.0)
    return "%.2f GB" % (kib / (1024.0 * 1024.0))


def fields_of(values):
    """The columns the seeded values decide, as the list writes them."""
    version = detail_text(values.get("displayversion")).strip(" \t")
    major = detail_number(values.get("versionmajor"))
    if not version and major is not None:
        minor = detail_number(values.get("versionminor"))
        version = "%d.%d" % (major, minor if minor is not None else 0)
    return {"Publisher": detail_text(values.get("publisher")), "Version": version,
            "Installed": installed(values.get("installdate")), "Size": size_text(detail_number(values.get("estimatedsize")))}


def demo_sections(win64, user):
    """Every section of the demo file: (hive path, subkey, source or None, values).

    Any heading starts a section; the source is None for a key that is no
    entry this build lists (a key below an entry, the 32-bit view on 32-bit
    Windows, another hive)."""
    sections = []
    roots = [("HKEY_LOCAL_MACHINE\\" + UNINSTALL, "HKEY_LOCAL_MACHINE" + (" (64-bit)" if win64 else "")),
             ("HKEY_CURRENT_USER\\" + UNINSTALL, "HKEY_CURRENT_USER")]
    if win64:
        roots.append(("HKEY_LOCAL_MACHINE\\" + WOW_UNINSTALL, "HKEY_LOCAL_MACHINE (32-bit)"))
    for line in demo_text(user).splitlines():
        heading = re.match(r"^\[(.*)\]\s*$", line)
        if heading:
            path, subkey, source = heading.group(1), None, None
            for root, name in roots:
                rest = path[len(root) + 1:]
                if path.lower().startswith(root.lower() + "\\") and rest and "\\" not in rest:
                    subkey, source = rest, name
            sections.append((path, subkey, source, {}))
            continue
        text = re.match(r'^"([^"]+)"="(.*)"\s*$', line)
        number = re.match(r'^"([^"]+)"=dword:([0-9a-fA-F]{1,8})\s*$', line)
        if sections and text:
            sections[-1][3][text.group(1).lower()] = ("sz", re.sub(r'\\(["\\])', r"\1", text.group(2)))
        elif sections and number:
            sections[-1][3][number.group(1).lower()] = ("dword", int(number.group(2), 16))
    return sections


def demo_entries(win64, user):
    """(subkey, source) -> fields of the demo file's listed entries."""
    entries = {}
    for _, subkey, source, values in demo_sections(win64, user):
        name, command = values.get("displayname"), values.get("uninstallstring")
        if source and name and command and name[0] == command[0] == "sz" and name[1] and command[1]:
            entries[(subkey, source)] = dict(Name=name[1].split("\0")[0], Command=command[1].split("\0")[0],
                                             **fields_of(values))
    return entries


def user_keys(user):
    """The demo's keys in the current user's hive, as `reg` names them."""
    return sorted({"HKCU\\" + path.split("\\", 1)[1] for path, _, _, _ in demo_sections(True, user)
                   if path.upper().startswith("HKEY_CURRENT_USER\\")})


def reg_text(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def seed(env, win64, user):
    drive_c = os.path.join(env["WINEPREFIX"], "drive_c")
    for root in (UNINSTALL, WOW_UNINSTALL):
        wine(env, "reg", "delete", "HKLM\\" + root, "/f")
    for key in user_keys(user):
        wine(env, "reg", "delete", key, "/f")
    # Programs that exist, so that some entries are good (as scripts/run does).
    for name in ("Program Files/Demo Editor/uninst.exe", "Program Files/Paint/unins000.exe",
                 "Program Files/Tools Pro/u.exe"):
        os.makedirs(os.path.dirname(os.path.join(drive_c, name)), exist_ok=True)
        shutil.copy(os.path.join(drive_c, "windows/system32/notepad.exe"), os.path.join(drive_c, name))
    with open(os.path.join(drive_c, "cli-demo.reg"), "wb") as out:
        out.write(demo_text(user).replace("\n", "\r\n").encode("latin-1"))
    lines = ["Windows Registry Editor Version 5.00", ""]
    for subkey, name, command in HOSTILE:
        lines += ["[HKEY_LOCAL_MACHINE\\%s\\%s]" % (UNINSTALL, subkey), '"DisplayName"="%s"' % reg_text(name),
                  '"UninstallString"="%s"' % reg_text(command), ""]
    # A name with a line break, which only hex(1) keeps.
    data = ",".join("%02x" % b for b in "Two\r\nLines\0".encode("utf-16-le"))
    lines += ["[HKEY_LOCAL_MACHINE\\%s\\Hostile lines]" % UNINSTALL, '"DisplayName"=hex(1):' + data,
              '"UninstallString"="C:\\\\Gone\\\\two.exe"', ""]
    with open(os.path.join(drive_c, "cli-hostile.reg"), "wb") as out:
        out.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
    for name in ("cli-demo.reg", "cli-hostile.reg"):
        result = wine(env, "regedit", "/S", "C:\\" + name)
        check(result.returncode == 0, "regedit %s: %d" % (name, result.returncode))
    entries = demo_entries(win64, user)
    source = "HKEY_LOCAL_MACHINE" + (" (64-bit)" if win64 else "")
    no_details = {"Publisher": "", "Version": "", "Installed": "", "Size": ""}
    for subkey, name, command in HOSTILE:
        entries[(subkey, source)] = dict(Name=name, Command=command, **no_details)
    entries[("Hostile lines", source)] = dict(Name="Two\r\nLines", Command="C:\\Gone\\two.exe", **no_details)
    return entries


def exported(env, roots, tmp):
    """The Uninstall keys as `reg export` writes them."""
    blobs = []
    for n, root in enumerate(roots):
        name = "%s-%d.reg" % (tmp, n)
        result = wine(env, "reg", "export", root, name, "/y")
        check(result.returncode == 0, "reg export %s: %d" % (root, result.returncode))
        host = os.path.join(env["WINEPREFIX"], "drive_c", name[3:])
        blobs.append(open(host, "rb").read() if os.path.exists(host) else b"")
    return blobs


def guarded(text):
    return "'" + text if text[:1] in ("=", "+", "-", "@", "\t", "\r") else text


def main():
    env, win64 = environment(sys.argv[1])
    if not os.path.exists(os.path.join(env["WINEPREFIX"], ".booted")):
        subprocess.run([os.path.join(SOURCE, "scripts", "wine-run"), sys.argv[1], "/?"], env=env,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    # A copy of its own: its settings file and Backup folder are the test's.
    home = os.path.join(env["WINEPREFIX"], "drive_c", "QuilletCli")
    shutil.rmtree(home, ignore_errors=True)
    os.makedirs(home)
    shutil.copy(sys.argv[1], os.path.join(home, "Quillet.exe"))
    exe = r"C:\QuilletCli\Quillet.exe"
    user = prefix_user(env)
    expected = seed(env, win64, user)
    roots = ["HKLM\\" + UNINSTALL] + (["HKLM\\" + WOW_UNINSTALL] if win64 else [])
    if user_keys(user):
        roots.append("HKCU\\" + UNINSTALL)

    def quillet(*args):
        return wine(env, exe, *args, cwd=home)

    # The CSV file, read back by an independent reader: every row, every field.
    result = quillet("/list", "/csv", "out.csv")  # relative to the folder it was started in
    check(result.returncode == 0, "/list /csv: exit %d, %r" % (result.returncode, result.stderr))
    raw = open(os.path.join(home, "out.csv"), "rb").read()
    check(raw.startswith(b"\xef\xbb\xbf"), "the CSV file starts with the UTF-8 byte-order mark")
    rows = list(csv.reader(open(os.path.join(home, "out.csv"), encoding="utf-8-sig", newline="")))
    check(rows and rows[0] == COLUMNS, "CSV heading: %r" % (rows[:1],))
    listed = {}
    for row in rows[1:]:
        check(len(row) == len(COLUMNS), "CSV row of %d fields: %r" % (len(row), row))
        fields = dict(zip(COLUMNS, row))
        listed[(fields["Subkey"], fields["Source"])] = fields
    check(set(listed) == set(expected), "listed entries: %r, seeded: %r" % (sorted(listed), sorted(expected)))
    for key, want in expected.items():
        fields = listed.get(key)
        if not fields:
            continue
        for column, value in want.items():
            check(fields[column] == guarded(value), "%r %s %r, not %r" % (key, column, fields[column], guarded(value)))
        check(fields["Status"] in ("good", "bad"), "%r status %r" % (key, fields["Status"]))
        check(fields["Reason"].startswith("Good: " if fields["Status"] == "good" else "Bad: "),
              "%r reason %r" % (key, fields["Reason"]))
    source = "HKEY_LOCAL_MACHINE" + (" (64-bit)" if win64 else "")
    for subkey, status in (("NotepadHelper", "good"), ("OldGame", "bad"), ("Hostile comma", "good"),
                           ("Hostile formula", "bad")):
        check(listed.get((subkey, source), {}).get("Status") == status, "%s is %s" % (subkey, status))

    # JSON and standard output say the same.
    result = quillet("/list", "/json", r"C:\QuilletCli\out.json")
    check(result.returncode == 0, "/list /json: exit %d" % result.returncode)
    objects = json.load(open(os.path.join(home, "out.json"), encoding="ascii"))
    keys = [column.lower() for column in COLUMNS]
    expected_columns = ["Name", "Command", "Publisher", "Version", "Installed", "Size"]
    check(all(list(o) == keys for o in objects), "JSON field names")
    check({(o["subkey"], o["source"]): {c: o[c.lower()] for c in expected_columns} for o in objects} == expected,
          "JSON entries")
    result = quillet("/list")
    check(result.returncode == 0 and result.stdout == raw[3:], "/list to a pipe gives the CSV without the mark")

    # Exit codes, and one line on standard error for each refusal.
    for args, code in ((["/?"], 0), (["/list", "/json"], 2), (["/delete-bad", "/now"], 2), (["/undo"], 2),
                       (["/undo", r"C:\no\such.reg"], 1), (["/backup", r"C:\no\such\dir\b.reg"], 1)):
        result = quillet(*args)
        check(result.returncode == code, "%s: exit %d, not %d" % (" ".join(args), result.returncode, code))
        if code:
            check(result.stderr.count(b"\n") == 1 and not result.stdout, "%s: %r" % (" ".join(args), result.stderr))

    # Delete bad, then undo with the day's changes files: every byte back.
    before = exported(env, roots, r"C:\cli-before")
    check(all("DisplayName".encode("utf-16-le") in blob for blob in before), "reg export wrote the seeded keys")
    result = quillet("/delete-bad")
    check(result.returncode == 0 and exported(env, roots, r"C:\cli-asked") == before, "/delete-bad alone changes nothing")
    bad = [key for key, fields in listed.items() if fields["Status"] == "bad"]
    result = quillet("/delete-bad", "/yes")
    check(result.returncode == 0, "/delete-bad /yes: exit %d, %r" % (result.returncode, result.stderr))
    check(exported(env, roots, r"C:\cli-deleted") != before, "/delete-bad /yes changed the keys")
    after = wine(env, exe, "/list", cwd=home).stdout.decode("utf-8")
    remaining = {(row[2], row[3]) for row in csv.reader(io.StringIO(after)) if len(row) == len(COLUMNS)}
    left = [key for key in bad if key in remaining]
    check(not left, "the bad entries are gone: %r left" % (left,))
    settings = open(os.path.join(home, "quillet.ini"), "rb").read().decode("latin-1")
    check(settings.count("application deleted!") == len(bad),
          "%d deletions in the settings file's log, not %d" % (settings.count("application deleted!"), len(bad)))
    changes = sorted(glob.glob(os.path.join(home, "Backup", "Changes *.reg")))
    check(changes, "a changes file was written")
    for path in changes:
        result = quillet("/undo", "Backup\\" + os.path.basename(path))
        check(result.returncode == 0, "/undo %s: exit %d, %r" % (path, result.returncode, result.stderr))
    check(exported(env, roots, r"C:\cli-undone") == before, "after /undo the keys export byte for byte as before")
    # Again: nothing left to take back, nothing changed.
    result = quillet("/undo", changes[0] if changes else "x")
    check(result.returncode == 0 and exported(env, roots, r"C:\cli-again") == before, "a second /undo changes nothing")

    for root in (UNINSTALL, WOW_UNINSTALL):
        wine(env, "reg", "delete", "HKLM\\" + root, "/f")
    for key in user_keys(user):
        wine(env, "reg", "delete", key, "/f")
    shutil.rmtree(home, ignore_errors=True)
    for name in glob.glob(os.path.join(env["WINEPREFIX"], "drive_c", "cli-*.reg")):
        os.remove(name)
    print("%d entries listed; %d bad deleted and restored; %d failures" % (len(listed), len(bad), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
