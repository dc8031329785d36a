#!/usr/bin/env python3
"""Fails when a Windows program imports a system function that its API level lacks.

Every function the import table names from a system library must be declared by the
SDK headers at the _WIN32_WINNT the program is compiled for. The static runtime
(threads, C++ library) is compiled for a newer Windows than ours, so this is the one
place where its imports meet our API level. The C runtime (msvcrt.dll) is left out:
its headers do not depend on the Windows version.
"""
import argparse
import re
import subprocess
import sys
import tempfile

HEADERS = ["windows.h", "commctrl.h", "shellapi.h", "shlobj.h", "shlwapi.h", "tlhelp32.h", "objbase.h",
           "oleauto.h", "uxtheme.h", "winver.h"]
RUNTIME_DLLS = {"msvcrt.dll"}


def imports(objdump, exe):
    text = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    dll, found = None, []
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        m = re.match(r"\s+[0-9a-f]+\s+\d+\s+([A-Za-z_]\w*)\s*$", line)
        if dll and m:
            found.append((dll, m.group(1)))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--cxx", required=True)
    parser.add_argument("--winnt", required=True)
    parser.add_argument("exe")
    args = parser.parse_args()

    wanted = sorted({(dll, name) for dll, name in imports(args.objdump, args.exe) if dll.lower() not in RUNTIME_DLLS})
    if not wanted:
        print(f"check-imports: no system imports found in {args.exe}", file=sys.stderr)
        return 1
    with tempfile.NamedTemporaryFile("w", suffix=".cpp") as source:
        source.write("".join(f"#include <{h}>\n" for h in HEADERS))
        for i, (_, name) in enumerate(wanted):
            source.write(f"auto* const velkor_import_{i} = &::{name};\n")
        source.flush()
        result = subprocess.run([args.cxx, "-fsyntax-only", "-fmax-errors=0", "-std=c++20", "-DUNICODE", "-D_UNICODE",
                                 f"-D_WIN32_WINNT={args.winnt}", source.name], capture_output=True, text=True)
    if result.returncode == 0:
        print(f"check-imports: the {len(wanted)} system functions {args.exe} imports all exist at "
              f"_WIN32_WINNT={args.winnt}")
        return 0
    missing = sorted(set(re.findall(r"‘::(\w+)’ has not been declared|'::(\w+)' has not been declared",
                                    result.stderr)))
    names = sorted({a or b for a, b in missing})
    if not names:
        print(result.stderr, file=sys.stderr)
        return 1
    where = dict((name, dll) for dll, name in wanted)
    print(f"check-imports: {args.exe} imports functions that Windows lacks at _WIN32_WINNT={args.winnt}:",
          file=sys.stderr)
    for name in names:
        print(f"  {where.get(name, '?')}: {name}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
