#!/usr/bin/env python3
"""Writes the seed corpus (fuzz/corpus/<target>/) from realistic inputs.

Each seed is laid out as FuzzedDataProvider hands it out: strings from the
front (a backslash doubled, a single backslash and one byte end a string),
numbers and flags from the back, the last byte first.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Seed:
    def __init__(self):
        self.front = b""
        self.back = []  # bytes in the order they are consumed

    def text(self, s):
        b = s.encode("latin-1") if isinstance(s, str) else s
        self.front += b.replace(b"\\", b"\\\\") + b"\\;"
        return self

    def rest(self, s):
        b = s.encode("latin-1") if isinstance(s, str) else s
        self.front += b
        return self

    def byte(self, v):
        self.back.append(v & 0xFF)
        return self

    def flag(self, on):
        return self.byte(1 if on else 0)

    def int32(self, v):
        raw = (v + 2**31) & 0xFFFFFFFF  # the provider counts from INT_MIN
        for shift in (24, 16, 8, 0):
            self.back.append((raw >> shift) & 0xFF)
        return self

    def bytes(self):
        return self.front + bytes(reversed(self.back))


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    for name, seed in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(seed.bytes() if isinstance(seed, Seed) else seed)


FE = "\xfe"

# [Log]: records written and read back (flag on), or a hand-edited section.
def records(*rs):
    s = Seed().flag(True).byte(len(rs))
    for time, message, comment, image in rs:
        s.text(time).text(message).text(comment).flag(image)
    return s

write("log_section", {
    "uninstalled": records(("08.12.2026 14:05:09", 'Application "WinZip 8.1" successfuly uninstalled.',
                            "Probably cleared: 4.21 Mb", False)),
    "two-records": records(("08.12.2026 14:05:10", "Shortcut \"Foo;Bar\" deleted.", "", True),
                           ("08.12.2026", "Backup", "note " + FE + " inside", False)),
    "mark-in-message": records(("7.1.2026 9:00:00", "a" + FE + "b", "c  ", False)),
    "hand-edited": Seed().flag(False).rest(
        "08.12.2026 14:05:09=0;Application \"App\" successfuly uninstalled." + FE + "Probably added: 0.01 Mb\n"
        "08.12.2026 14:05:10=1;Error" + FE + "\n"
        " spaced = 0;x \n"
        "noequals\n"
        "t=Hello" + FE + "there\n"
        "t=0xmsg" + FE + "a" + FE + "b\n"
        "t=\n"
        "t=9\n"),
})

write("stored_integers", {
    name: Seed().int32(a).int32(b).int32(c).int32(d).rest(text)
    for name, (a, b, c, d, text) in {
        "decimal": (102, 150, 250, 200, "102"),
        "negative": (0, 0, 0, 0, "-5"),
        "hex-0x": (1, 2, 3, 4, "0x1F"),
        "hex-dollar": (1, 2, 3, 4, "$FF"),
        "all-ones": (0, 0, 0, 0, "$FFFFFFFF"),
        "min": (7, 7, 7, 7, "-2147483648"),
        "too-big": (7, 7, 7, 7, "2147483648"),
        "only-0x": (9, 9, 9, 9, "0x"),
        "leading-zeros": (9, 9, 9, 9, "0x00000001F"),
        "norm-pos": (191, 131, 833, 636, "191,131,833,636"),
        "min-max-pos": (0, 0, 0, 0, "-1,-1,-4,-4"),
        "four-mixed": (1, 2, 3, 4, "10, 20 ,,30 $28"),
        "four-bad-word": (1, 2, 3, 4, "10,x,30"),
    }.items()
})

def command(cmd, path=None, windows=None, system=None, double_byte=False, hits=()):
    s = Seed().flag(double_byte).flag(path is not None)
    if path is not None:
        s.text(path)
    s.flag(windows is not None)
    if windows is not None:
        s.text(windows)
    s.flag(system is not None)
    if system is not None:
        s.text(system)
    s.text(cmd)
    for h in hits:
        s.flag(h)
    return s

WIN_PATH = "C:\\WINDOWS;C:\\WINDOWS\\COMMAND"
write("command_file_name", {
    "quoted-blanks": command('"C:\\Program Files\\App\\uninst.exe" /S', WIN_PATH, hits=(True,)),
    "quoted-argument": command('C:\\WINDOWS\\uninst.exe -f"C:\\App\\x.isu"', WIN_PATH, hits=(True,)),
    "in-path": command("uninst.exe -a", WIN_PATH, hits=(False, True)),
    "system-dir": command("MsiExec.exe /X{0001}", WIN_PATH, hits=(False, False, False, False, True)),
    "rundll": command("RunDll32 advpack.dll,LaunchINFSection C:\\x.inf,Uninstall", WIN_PATH),
    "rundll32-exe": command("rundll32.exe shell32.dll,Control_RunDLL", WIN_PATH, hits=(False, False, False, True)),
    "percent": command("%ProgramFiles%\\App\\unins000.exe", WIN_PATH),
    "removable": command("A:\\SETUP.EXE /uninstall", WIN_PATH),
    "cd-rom": command("D:\\setup.exe"),
    "bat": command("C:\\App\\remove.bat /q", WIN_PATH, hits=(False,)),
    "first-exe-wins": command("C:\\a.exe b.exe x", "C:\\;;D:"),
    "double-byte": command("\x83\\prog.exe /x", "C:\\\x83;D:\\", double_byte=True, hits=(False, True)),
})

def browse(*uses):
    s = Seed()
    for display, text, confirm, chosen, text_exists, dir_exists in uses:
        s.flag(display is None)
        if display is not None:
            s.text(display)
        s.text(text).flag(confirm).text(chosen).flag(text_exists).flag(dir_exists)
    return s

write("browse_start", {
    "cancel-fills-name": browse((None, "C:\\App\\remove.exe /S", False, "", False, True),
                                ("remove.exe", "", False, "", False, False)),
    "confirm-quotes": browse((None, "", True, "C:\\Program Files\\App\\unins000.exe", False, False),
                             ("App", '"C:\\Program Files\\App\\unins000.exe" /x', False, "", False, True)),
    "whole-text-exists": browse(("Name", "C:\\Program Files\\App\\setup.exe", True, "C:\\App\\remove.exe",
                                 True, True),
                                (None, '"" "C:\\My Apps\\un.exe"', False, "", False, True)),
    "invalid-name": browse((None, "C:\\App\\<bad>.exe", False, "", False, False),
                           (None, "C:\\App\\ -x", False, "", False, True)),
    "long-token": browse((None, "C:\\" + "x" * 253 + ".exe", False, "", False, False),
                         (None, '"' + "C:\\dir\\" + "y" * 250 + '.exe" /S', False, "", False, False)),
})

write("replace_all", {
    name: Seed().text(find).text(rep).rest(text)
    for name, (find, rep, text) in {
        "rename": ("WinZip", "WinRAR", 'Application "WinZip 8.1" successfuly uninstalled.'),
        "doubling": ("a", "aa", "banana"),
        "overlap": ("aa", "b", "aaaaa"),
        "holds-search": ("%1", "[%1]", "Shortcut \"%1\" deleted. %1%1"),
        "shrink": ("\\\\", "\\", "C:\\\\Program Files\\\\App"),
        "empty-search": ("", "x", "unchanged"),
    }.items()
})

write("escape_reg_string", {
    "plain": b"WinZip 8.1",
    "path": b"C:\\Program Files\\App\\uninst.exe /S",
    "quotes": b'"C:\\Program Files\\App\\uninst.exe" -f"C:\\App\\x.isu"',
    "trailing-backslash": b"C:\\Apps\\",
    "controls": b"line one\r\nline two\ttab\x01",
    "high-bytes": "Caf\xe9 \xfe \x83\\".encode("latin-1"),
})

def backup(entries, full_disk=None):
    s = Seed().byte(len(entries))
    for subkey, name, cmd, types in entries:
        s.text(subkey).text(name).text(cmd).byte(types)
    s.flag(full_disk is not None)
    if full_disk is not None:
        s.byte(full_disk >> 8).byte(full_disk & 0xFF)
    return s

write("reg_backup", {
    "two-entries": backup([("WinZip", "WinZip 8.1", '"C:\\Program Files\\WinZip\\WINZIP32.EXE" /uninstall', 0),
                           ("{3F2504E0-4F89-11D3-9A0C-0305E82C3301}", 'The "Best" App',
                            "MsiExec.exe /X{3F2504E0-4F89-11D3-9A0C-0305E82C3301}", 0x1)]),
    "skipped": backup([("NoCommand", "Name only", "", 0x0C), ("NoName", "", "C:\\x.exe", 0x03),
                       ("Expand", "Tool", "%ProgramFiles%\\Tool\\unins000.exe", 0x05)]),
    "odd-names": backup([("App [1]", "a\\b", "c\"d", 0), ("]", "x", "y\\", 0)]),
    "bad-type": backup([("Good", "Good", "C:\\g.exe", 0), ("Dword", "Bad", "C:\\b.exe", 0x08)]),
    "full-disk": backup([("WinZip", "WinZip 8.1", "C:\\WinZip\\uninst.exe", 0)], full_disk=40),
})

# Key trees for the changes file: the target draws names (UTF-16 units, some
# past the ANSI range or lone surrogates), value types and data from bytes.
# The first byte's bit 1 ("properties") writes some values only, as
# Properties does: the first two and one the key lacks.
write("changes_file", {
    "plain": bytes([0, 3, ord("A"), 0, ord("p"), 1, 4, 4, 1, 0, 0, 0, 1, 2, ord("b"), 0]),
    "properties": bytes([2, 1, ord("k"), 1, 2, 2, ord("D"), 1, ord("N"), 1, 1, 4, ord("a"), 0, ord("b"), 0,
                         1, ord("U"), 4, 0xD8, 3, 1, 0xFF, 0, 1, ord("M"), 1]),
    "hostile-names": bytes([5, ord("x"), 0, ord("]"), 0, 13, 0, 10, 0, ord("["), 0, 0, 0xD8, 3, 1, 7, 6, 0]),
    "odd-data": bytes([1, 1, ord("@"), 0, 1, 1, 3, 0x41, 0, 0x42, 11, 8, 1, 2, 3, 4, 5, 6, 7, 8, 2, 0xFF]),
})
