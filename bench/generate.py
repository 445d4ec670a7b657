#!/usr/bin/env python3
"""Seeds N uninstall entries for the benchmarks.

Writes a REGEDIT4 file (ANSI bytes, CRLF) with N subkeys of the Uninstall key
and creates, under the given drive_c folder, the programs that the good
entries point at. Names with blanks, '&', quotes and Latin-1 letters.
Two kinds of data (the optional fourth argument):
  mixed  (default) 70% good, 20% missing programs (quoted), 10% rundll32,
         %ProgramFiles% and MsiExec forms;
  stale  70% good, 20% missing unquoted paths with blanks
         (C:\\Old\\App 17\\uninst.exe /S), 10% bare names found nowhere
         (nothere17.exe /x), as stale entries in the wild carry them.
"""
import os
import sys

KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def entry(i, kind_of_data="mixed"):
    """(subkey, display name, command, file to create relative to C:\\ or None)"""
    names = [f"Bench App {i}", f"Tools & Utilities {i}", f'The "Quoted" Suite {i}',
             f"Caf\xe9 R\xe9seau {i}", f"\xdcbersetzer Pro {i}"]
    name = names[i % len(names)]
    subkeys = [f"{{BE7C{i:04X}-0000-4000-8000-{i:012X}}}", f"BenchApp{i}_is1", f"Bench App {i}"]
    subkey = subkeys[i % len(subkeys)]
    kind = i % 10
    if kind < 7:
        folder = f"Program Files\\Bench\\App {i}"
        program = f"{folder}\\uninst.exe"
        command = f'"C:\\{program}" /S' if i % 2 else f"C:\\{program.replace(' ', '_')}"
        created = program if i % 2 else program.replace(" ", "_")
        return subkey, name, command, created
    if kind_of_data == "stale":
        if kind < 9:
            return subkey, name, f"C:\\Old\\App {i}\\uninst.exe /S", None
        return subkey, name, f"nothere{i}.exe /x", None
    if kind < 9:
        return subkey, name, f'"C:\\Program Files\\Gone\\App {i}\\uninst.exe" /x', None
    special = [f"RunDll32 advpack.dll,LaunchINFSection C:\\windows\\inf\\b{i}.inf,Uninstall",
               f"%ProgramFiles%\\Bench\\App {i}\\unins000.exe",
               f"MsiExec.exe /X{{BE7C{i:04X}-0000-4000-8000-{i:012X}}}"]
    return subkey, name, special[i % 3], None


def main():
    if len(sys.argv) not in (4, 5) or sys.argv[4:] not in ([], ["mixed"], ["stale"]):
        sys.exit("usage: generate.py N OUTPUT.reg DRIVE_C [mixed|stale]")
    count, output, drive_c = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    kind_of_data = sys.argv[4] if len(sys.argv) == 5 else "mixed"
    lines = ["REGEDIT4", "", f"[-{KEY}]", ""]
    for i in range(count):
        subkey, name, command, created = entry(i, kind_of_data)
        lines += [f"[{KEY}\\{subkey}]", f'"DisplayName"={reg_string(name)}',
                  f'"UninstallString"={reg_string(command)}', ""]
        if created:
            path = os.path.join(drive_c, *created.split("\\"))
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").close()
    with open(output, "wb") as f:
        f.write("\r\n".join(lines).encode("latin-1"))


if __name__ == "__main__":
    main()
