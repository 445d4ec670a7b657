#!/usr/bin/env python3
"""Seeds N uninstall entries for the benchmarks.

Writes a REGEDIT4 file (ANSI bytes, CRLF) with N uninstall entries and
creates, under the given drive_c folder, the programs that the good entries
point at. Names with blanks, '&', quotes and Latin-1 letters.

Two kinds of data (the optional fourth argument):
  mixed  (default) 70% good, 20% missing programs (quoted), 10% rundll32,
         %ProgramFiles% and MsiExec forms;
  stale  70% good, 20% missing unquoted paths with blanks
         (C:\\Old\\App 17\\uninst.exe /S), 10% bare names found nowhere
         (nothere17.exe /x), as stale entries in the wild carry them.

Each entry carries what installers write beside the name and the command:
Publisher (150 makers), DisplayVersion (or VersionMajor and VersionMinor),
InstallDate (one in 50 no date), EstimatedSize, DisplayIcon,
InstallLocation, URLInfoAbout, HelpLink, NoModify, NoRepair; a third of
them a QuietUninstallString, one in 100 SystemComponent, one in 100 an
update of another (ParentKeyName, ReleaseType).

Options:
  --every-source  spread the entries over every source the list reads on
                  64-bit Windows: 70% the machine's 64-bit view, 20% its
                  32-bit view (Wow6432Node), 5% the current user (HKCU),
                  5% a second user's hive below HKEY_USERS (OTHER_SID, with
                  a profile list entry). That hive lives only as long as
                  the wineserver that imported it.
  --plain         DisplayName and UninstallString only (the benchmarks
                  measured before the details were read).
CoreBench.cpp seeds the same entries for the native benchmark.
"""
import os
import sys

UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
OTHER_SID = "S-1-5-21-1004336348-1177238915-682003330-1001"
SOURCES = {
    "64": rf"HKEY_LOCAL_MACHINE\{UNINSTALL}",
    "32": r"HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall",
    "user": rf"HKEY_CURRENT_USER\{UNINSTALL}",
    "other": rf"HKEY_USERS\{OTHER_SID}\{UNINSTALL}",
}
MAKERS = ["Bench Software", "Tools & Co", "Caf\xe9 Labs", "\xdcbersetzer GmbH", "The \"Quoted\" Group",
          "Northwind", "Contoso", "Fabrikam", "Litware", "Adventure Works"]


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def source_of(i, every_source):
    if not every_source:
        return "64"
    slot = i % 20
    return "64" if slot < 14 else "32" if slot < 18 else "user" if slot == 18 else "other"


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


def details(i, command):
    """The entry's other values as REGEDIT4 lines."""
    folder = f"C:\\Program Files\\Bench\\App {i}"
    lines = [f'"Publisher"={reg_string(f"{MAKERS[i % 10]} {i % 15}")}']
    versions = [f"{i % 17}.{i % 7}.{i % 1000}", f"{i % 5}.{i % 13}", f"{2000 + i % 25}.{i % 12 + 1} Beta {i % 3}",
                f"10.0.{19000 + i % 1000}.{i % 500}"]
    if i % 25 == 0:
        lines += [f'"VersionMajor"=dword:{i % 9:08x}', f'"VersionMinor"=dword:{i % 31:08x}']
    else:
        lines.append(f'"DisplayVersion"={reg_string(versions[i % 4])}')
    date = "2023-01-05" if i % 50 == 0 else f"{2010 + i % 15}{i % 12 + 1:02}{i % 28 + 1:02}"
    lines += [f'"InstallDate"={reg_string(date)}',
              f'"EstimatedSize"=dword:{(i * 7919) % 5000000:08x}',
              f'"DisplayIcon"={reg_string(folder + chr(92) + "app.exe,0")}',
              f'"InstallLocation"={reg_string(folder + chr(92))}',
              f'"URLInfoAbout"={reg_string(f"https://example.com/apps/{i}")}',
              f'"HelpLink"={reg_string(f"https://example.com/apps/{i}/help")}',
              '"NoModify"=dword:00000001', '"NoRepair"=dword:00000001']
    if i % 3 == 0:
        lines.append(f'"QuietUninstallString"={reg_string(command + " /quiet")}')
    if i % 100 == 1:
        lines.append('"SystemComponent"=dword:00000001')
    if i % 100 == 51:
        lines += ['"ParentKeyName"="Bench App 0"', '"ReleaseType"="Security Update"']
    return lines


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    options = [a for a in sys.argv[1:] if a.startswith("--")]
    if len(args) not in (3, 4) or args[3:] not in ([], ["mixed"], ["stale"]) or \
            any(o not in ("--every-source", "--plain") for o in options):
        sys.exit("usage: generate.py N OUTPUT.reg DRIVE_C [mixed|stale] [--every-source] [--plain]")
    count, output, drive_c = int(args[0]), args[1], args[2]
    kind_of_data = args[3] if len(args) == 4 else "mixed"
    every_source = "--every-source" in options
    lines = ["REGEDIT4", ""]
    for key in SOURCES.values():
        lines += [f"[-{key}]", ""]
    if every_source:
        lines += [rf"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\ProfileList\{OTHER_SID}]",
                  r'"ProfileImagePath"="C:\\users\\bench2"', ""]
    for i in range(count):
        subkey, name, command, created = entry(i, kind_of_data)
        lines += [f"[{SOURCES[source_of(i, every_source)]}\\{subkey}]", f'"DisplayName"={reg_string(name)}',
                  f'"UninstallString"={reg_string(command)}']
        if "--plain" not in options:
            lines += details(i, command)
        lines.append("")
        if created:
            path = os.path.join(drive_c, *created.split("\\"))
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").close()
    with open(output, "wb") as f:
        f.write("\r\n".join(lines).encode("latin-1"))


if __name__ == "__main__":
    main()
