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
import io
import glob
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


def demo_entries(win64):
    """(subkey, source) -> (name, command) of the demo file's listed entries."""
    entries, key, values = {}, None, {}

    def flush():
        if key and "DisplayName" in values and "UninstallString" in values:
            entries[key] = (values["DisplayName"], values["UninstallString"])

    text = open(os.path.join(SOURCE, "scripts", "demo.reg.in"), encoding="ascii").read().replace("@E9@", "\u00e9")
    for line in text.splitlines():
        heading = re.match(r"^\[HKEY_LOCAL_MACHINE\\(.*)\]$", line)
        if heading:
            flush()
            path, key, values = heading.group(1), None, {}
            for root, view in ((UNINSTALL, "64-bit" if win64 else ""), (WOW_UNINSTALL, "32-bit")):
                if path.startswith(root + "\\") and (root == UNINSTALL or win64):
                    source = "HKEY_LOCAL_MACHINE" + (" (%s)" % view if view else "")
                    key = (path[len(root) + 1:], source)
            continue
        value = re.match(r'^"(\w+)"="(.*)"$', line)
        if value and key:
            values[value.group(1)] = re.sub(r'\\(["\\])', r"\1", value.group(2))
    flush()
    return entries


def reg_text(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def seed(env, win64):
    drive_c = os.path.join(env["WINEPREFIX"], "drive_c")
    for root in (UNINSTALL, WOW_UNINSTALL):
        wine(env, "reg", "delete", "HKLM\\" + root, "/f")
    # Programs that exist, so that some entries are good (as scripts/run does).
    for name in ("Program Files/Demo Editor/uninst.exe", "Program Files/Paint/unins000.exe",
                 "Program Files/Tools Pro/u.exe"):
        os.makedirs(os.path.dirname(os.path.join(drive_c, name)), exist_ok=True)
        shutil.copy(os.path.join(drive_c, "windows/system32/notepad.exe"), os.path.join(drive_c, name))
    demo = open(os.path.join(SOURCE, "scripts", "demo.reg.in"), encoding="ascii").read()
    with open(os.path.join(drive_c, "cli-demo.reg"), "wb") as out:
        out.write(demo.replace("@E9@", "\xe9").replace("\n", "\r\n").encode("latin-1"))
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
    entries = demo_entries(win64)
    source = "HKEY_LOCAL_MACHINE" + (" (64-bit)" if win64 else "")
    for subkey, name, command in HOSTILE:
        entries[(subkey, source)] = (name, command)
    entries[("Hostile lines", source)] = ("Two\r\nLines", "C:\\Gone\\two.exe")
    return entries


def exported(env, win64, tmp):
    """The Uninstall keys as `reg export` writes them."""
    blobs = []
    for n, root in enumerate((UNINSTALL, WOW_UNINSTALL) if win64 else (UNINSTALL,)):
        name = "%s-%d.reg" % (tmp, n)
        result = wine(env, "reg", "export", "HKLM\\" + root, name, "/y")
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
    expected = seed(env, win64)

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
    for key, (name, command) in expected.items():
        fields = listed.get(key)
        if not fields:
            continue
        check(fields["Name"] == guarded(name), "%r name %r" % (key, fields["Name"]))
        check(fields["Command"] == guarded(command), "%r command %r" % (key, fields["Command"]))
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
    keys = [column.lower() for column in COLUMNS[:-2]] + ["status", "reason"]
    check(all(list(o) == keys for o in objects), "JSON field names")
    check({(o["subkey"], o["source"]): (o["name"], o["command"]) for o in objects} == expected, "JSON entries")
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
    before = exported(env, win64, r"C:\cli-before")
    check(all("DisplayName".encode("utf-16-le") in blob for blob in before), "reg export wrote the seeded keys")
    result = quillet("/delete-bad")
    check(result.returncode == 0 and exported(env, win64, r"C:\cli-asked") == before, "/delete-bad alone changes nothing")
    bad = [key for key, fields in listed.items() if fields["Status"] == "bad"]
    result = quillet("/delete-bad", "/yes")
    check(result.returncode == 0, "/delete-bad /yes: exit %d, %r" % (result.returncode, result.stderr))
    check(exported(env, win64, r"C:\cli-deleted") != before, "/delete-bad /yes changed the keys")
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
    check(exported(env, win64, r"C:\cli-undone") == before, "after /undo the keys export byte for byte as before")
    # Again: nothing left to take back, nothing changed.
    result = quillet("/undo", changes[0] if changes else "x")
    check(result.returncode == 0 and exported(env, win64, r"C:\cli-again") == before, "a second /undo changes nothing")

    for root in (UNINSTALL, WOW_UNINSTALL):
        wine(env, "reg", "delete", "HKLM\\" + root, "/f")
    shutil.rmtree(home, ignore_errors=True)
    for name in glob.glob(os.path.join(env["WINEPREFIX"], "drive_c", "cli-*.reg")):
        os.remove(name)
    print("%d entries listed; %d bad deleted and restored; %d failures" % (len(listed), len(bad), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
