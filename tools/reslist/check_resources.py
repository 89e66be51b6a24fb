#!/usr/bin/env python3
"""Checks the resources of a Windows build of one library.

    check_resources.py ktcfg <dll> <a|b> <x64|x86> <resource.h>
    check_resources.py ktrender <dll> <a|b> <x64|x86>

Both libraries carry the version resource whose description ends in the driver's version line of the
profile and word size. ktcfg also carries the common-controls 6.0 manifest (id 2), every dialog, icon and
bitmap that resource.h names for the profile, and every control id of resource.h in one of its dialogs.
Prints one line per fault; exits 1 when there is any.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_resources as pe  # noqa: E402

VERSION_LINES = {
    ("a", "x64"): "1.02 (116009.02) <KT-508> <64bit>",
    ("b", "x64"): "1.02 (116012.02) <KT-936> <64bit>",
    ("a", "x86"): "1.02 (116016.02) <KT-508> <32bit>",
    ("b", "x86"): "1.02 (116014.02) <KT-936> <32bit>",
}


def header_ids(header, profile):
    """The numeric macros of resource.h as the profile's resource compiler sees them."""
    out = subprocess.run(["cpp", "-dM", "-DKT_PROFILE_%s=1" % profile.upper(), header],
                         check=True, capture_output=True, text=True).stdout
    ids = {}
    for name, value in re.findall(r"#define (I[DR][A-Z]?_\w+) \(?(-?\d+)\)?", out):
        ids[name] = int(value)
    return ids


def main():
    module, dll, profile, arch = sys.argv[1:5]
    with open(dll, "rb") as f:
        entries = pe.pe_entries(f.read())
    faults = []
    have = {(kind, name) for kind, name, _, _ in entries}

    versions = [body for kind, _, _, body in entries if kind == pe.RT_VERSION]
    expected = "KT Label Printer Driver " + VERSION_LINES[(profile, arch)]
    description = pe.version_strings(versions[0]).get("FileDescription") if versions else None
    if description != expected:
        faults.append("version description %r, expected %r" % (description, expected))

    if module == "ktcfg":
        manifests = [body for kind, name, _, body in entries if kind == pe.RT_MANIFEST and name == 2]
        if not manifests or b"Microsoft.Windows.Common-Controls" not in manifests[0]:
            faults.append("no common-controls 6.0 manifest with id 2")
        ids = header_ids(sys.argv[5], profile)
        wanted = [(pe.RT_DIALOG, "IDD_"), (pe.RT_GROUP_ICON, "IDI_"), (pe.RT_BITMAP, "IDB_")]
        for kind, prefix in wanted:
            for name, value in sorted(ids.items()):
                if name.startswith(prefix) and (kind, value) not in have:
                    faults.append("resource %s (%d) missing" % (name, value))
        controls = set()
        for kind, _, _, body in entries:
            if kind == pe.RT_DIALOG:
                controls.update(pe.dialog_controls(body)[1])
        for name, value in sorted(ids.items()):
            if name.startswith("IDC_") and value != -1 and value not in controls:
                faults.append("control %s (%d) in no dialog" % (name, value))

    for fault in faults:
        print("%s: %s" % (dll, fault))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
