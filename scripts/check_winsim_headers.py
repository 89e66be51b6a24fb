#!/usr/bin/env python3
"""Checks winsim's Windows headers against mingw-w64's: every numeric constant they define and the size, field
offsets and field sizes of every record they declare.

Steps:
  1. Reads winsim/include/*.h (not the host API) for object-like macros, enumerators and records.
  2. Compiles a small generator natively against winsim's headers and runs it: it prints winsim's value of
     every constant and the layout of every record (and drops the macros that are not numbers: calling
     conventions, types, function names).
  3. Writes a translation unit of static_asserts with winsim's values for x64 and one for x86, and compiles
     each with mingw-w64 against mingw-w64's own windows.h, winspool.h and winddi.h (-fsyntax-only).
  4. Names every constant, size or offset mingw-w64 disagrees with, and every constant mingw-w64 lacks.
  5. Compares every COM interface winsim declares with mingw-w64's: the same base interface and the same
     methods, with the same number of parameters, in the same order, since a driver built against either
     calls a method by its place in the table.

winsim is native 64-bit only, so its layouts are the x64 ones. On x86 the records whose layout follows the
pointer width (those holding pointers, handles or pointer-sized integers, directly or in a member record)
are skipped: there is no 32-bit winsim to take them from. Records without such members have the same layout
on both, and are checked on x86 too.

Usage: check_winsim_headers.py <source dir> <build dir>
"""

import os
import re
import subprocess
import sys

# Constants winsim defines on purpose although mingw-w64 does not: name -> why winsim keeps it.
WINSIM_ONLY = {
    "WINSIM": "marks the simulation for the rare driver code that must tell it apart",
}

# Constants whose value follows the pointer width (offsets past pointer-sized slots): x64 only, like the records
# that do.
POINTER_WIDTH_CONSTANTS = {"DWLP_DLGPROC", "DWLP_USER"}

# The order in which the headers include each other, so that a record is declared after those it holds.
HEADERS = ["basetsd.h", "minwindef.h", "winnt.h", "windef.h", "winerror.h", "winbase.h", "winnls.h",
           "wingdi.h", "winspool.h", "winddi.h", "winuser.h", "prsht.h", "commdlg.h", "windows.h", "guiddef.h", "wtypes.h", "unknwn.h", "oaidl.h",
           "oleauto.h", "objbase.h", "ole2.h", "commctrl.h", "compstui.h", "winddiui.h", "bidispl.h", "msxml2.h"]

# What a translation unit includes to see all of them, on either side. On the mingw-w64 side winddiui.h is
# the stand-in in cmake/mingw-include, which adds the driver kit's declarations to mingw-w64's own header.
INCLUDES = ["windows.h", "commctrl.h", "winspool.h", "winddi.h", "objbase.h", "oleauto.h", "ole2.h", "winddiui.h", "bidispl.h",
            "msxml2.h"]
INCLUDE_LINES = "".join("#include <%s>\n" % h for h in INCLUDES)


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def join_continuations(text):
    return text.replace("\\\n", " ")


def matching_brace(text, open_index):
    depth = 0
    for i in range(open_index, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return i
    raise ValueError("unbalanced braces")


def split_members(body):
    """Splits a record body into member declarations, keeping nested bodies whole."""
    members, depth, start = [], 0, 0
    for i, c in enumerate(body):
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
        elif c == ";" and depth == 0:
            members.append(body[start:i].strip())
            start = i + 1
    return [m for m in members if m]


def parse_fields(body, prefix=""):
    """The fields of a record body as (path, type name) pairs; members of anonymous structures and unions
    are the record's own, members of named nested ones are reached through their name."""
    fields = []
    for member in split_members(body):
        member = re.sub(r"\b__extension__\b", " ", member).strip()
        nested = re.match(r"(struct|union)\s*(\w+)?\s*\{", member)
        if nested:
            open_index = member.index("{")
            close = matching_brace(member, open_index)
            inner = member[open_index + 1:close]
            declarator = member[close + 1:].strip()
            if declarator:
                name = re.match(r"(\w+)", declarator).group(1)
                fields.append((prefix + name, None))
                fields.extend(parse_fields(inner, prefix + name + "."))
            else:
                fields.extend(parse_fields(inner, prefix))
            continue
        # "TYPE name", "TYPE* name", "TYPE name[N]", "TYPE a, b".
        first = re.match(r"((?:const\s+|struct\s+|union\s+|unsigned\s+|signed\s+)*\w+)", member)
        type_name = first.group(1).split()[-1]
        rest = member[first.end():]
        for declarator in rest.split(","):
            name = re.search(r"(\w+)\s*(\[[^\]]*\]\s*)*$", declarator.strip())
            if not name:
                raise ValueError("cannot read member: " + member)
            pointer = "*" in declarator
            fields.append((prefix + name.group(1), None if pointer else type_name))
    return fields


def read_headers(include_dir):
    macros, records, aliases = [], [], {}
    seen = set()
    for header in HEADERS:
        text = join_continuations(open(os.path.join(include_dir, header), encoding="utf-8").read())
        text = strip_comments(text)
        for m in re.finditer(r"^[ \t]*#[ \t]*define[ \t]+([A-Za-z_]\w*)\b(?!\()", text, flags=re.M):
            if m.group(1) not in seen:
                seen.add(m.group(1))
                macros.append(m.group(1))
        for m in re.finditer(r"\benum\b[^{;]*\{([^}]*)\}", text):
            for entry in m.group(1).split(","):
                name = re.match(r"\s*([A-Za-z_]\w*)", entry)
                if name and name.group(1) not in seen:
                    seen.add(name.group(1))
                    macros.append(name.group(1))
        code = "\n".join(line for line in text.split("\n") if not line.lstrip().startswith("#"))
        for m in re.finditer(r"\btypedef\s+(struct|union)\s*(\w*)\s*\{", code):
            open_index = code.index("{", m.start())
            close = matching_brace(code, open_index)
            declarators = code[close + 1:code.index(";", close)]
            names = [d.strip() for d in declarators.split(",")]
            plain = [n for n in names if re.fullmatch(r"\w+", n)]
            if not plain:
                continue
            record = plain[0]
            for n in plain[1:]:
                aliases[n] = record
            records.append((record, parse_fields(code[open_index + 1:close])))
        for m in re.finditer(r"\btypedef\s+(\w+)\s+([\w\s,*]+);", code):
            for n in m.group(2).split(","):
                n = n.strip()
                if re.fullmatch(r"\w+", n):
                    aliases.setdefault(n, m.group(1))
    return macros, records, aliases


def resolve(type_name, aliases):
    while type_name in aliases and aliases[type_name] != type_name:
        type_name = aliases[type_name]
    return type_name


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, env=dict(os.environ, LC_ALL="C"),
                          **kwargs)


GENERATOR_HEAD = """// Generated by scripts/check_winsim_headers.py: prints winsim's constants and record layouts.
""" + INCLUDE_LINES + """#include <cstddef>
#include <cstdio>
#include <type_traits>
#include <utility>

template <class T> constexpr bool width_dependent() {
    using U = std::remove_cv_t<std::remove_all_extents_t<T>>;
    // On LP64 Linux `long` appears in winsim only as the pointer-sized integers (LONG is 32-bit).
    return std::is_pointer_v<U> || std::is_member_pointer_v<U> || std::is_same_v<U, long> ||
           std::is_same_v<U, unsigned long>;
}
#define CONSTANT(id, name) std::printf("C %d %lld\\n", id, static_cast<long long>(+(name)));
#define RECORD(id, type) std::printf("S %d %zu\\n", id, sizeof(type));
#define FIELD(id, type, path)                                                                               \\
    std::printf("F %d %zu %zu %d\\n", id, offsetof(type, path), sizeof(std::declval<type&>().path),           \\
                width_dependent<decltype(std::declval<type&>().path)>() ? 1 : 0);
int main() {
"""


def expansions(include_dir, build_dir):
    """The replacement text of every macro once winsim's headers are included, as the compiler sees it."""
    probe = os.path.join(build_dir, "winsim_macros.cpp")
    with open(probe, "w", encoding="utf-8") as f:
        f.write(INCLUDE_LINES)
    result = run(["g++", "-std=c++20", "-dM", "-E", "-DUNICODE", "-D_UNICODE", "-I", include_dir, probe],
                 check=True)
    found = {}
    for line in result.stdout.split("\n"):
        m = re.match(r"#define ([A-Za-z_]\w*)(\(| |$)(.*)", line)
        if m and m.group(2) != "(":
            found[m.group(1)] = m.group(3).strip()
    return found


def could_be_number(text):
    """Leaves out what cannot be an expression at all (linkage braces, attributes, text), so that the
    generator's compiler can sort the rest."""
    return text != "" and not re.search(r"[{};\"]|__attribute__|\bextern\b", text)


def generate_values(items, build_dir, include_dir):
    """Compiles and runs the generator; items are ("C", name) or ("S", record) or ("F", record, path).
    Returns {index: values}; constants that do not compile as numbers are left out."""
    source = os.path.join(build_dir, "winsim_values.cpp")
    binary = os.path.join(build_dir, "winsim_values")
    replacement = expansions(include_dir, build_dir)
    live = set(i for i, item in enumerate(items)
               if item[0] == "C" and item[1] in replacement and could_be_number(replacement[item[1]]))
    for _ in range(8):
        lines = [GENERATOR_HEAD]
        line_of = {}
        next_line = GENERATOR_HEAD.count("\n") + 1
        for i, item in enumerate(items):
            if item[0] == "C" and i not in live:
                continue
            line_of[next_line] = i
            next_line += 1
            if item[0] == "C":
                lines.append("CONSTANT(%d, %s)\n" % (i, item[1]))
            elif item[0] == "S":
                lines.append("RECORD(%d, %s)\n" % (i, item[1]))
            else:
                lines.append("FIELD(%d, %s, %s)\n" % (i, item[1], item[2]))
        lines.append("}\n")
        with open(source, "w", encoding="utf-8") as f:
            f.write("".join(lines))
        result = run(["g++", "-std=c++20", "-w", "-fdiagnostics-plain-output", "-DUNICODE", "-D_UNICODE",
                      "-I", include_dir, source, "-o", binary])
        if result.returncode == 0:
            break
        failed = set()
        for m in re.finditer(re.escape(source) + r":(\d+):", result.stderr):
            line = int(m.group(1))
            if line in line_of:
                failed.add(line_of[line])
        if not failed or not failed <= live:
            sys.stderr.write(result.stderr[:20000])
            raise SystemExit("check_winsim_headers: the generator does not compile against winsim's headers")
        # Not numbers: empty macros, types, qualifiers, function names, pointers.
        live -= failed
    else:
        raise SystemExit("check_winsim_headers: could not settle which macros are numbers")
    out = run([binary], check=True).stdout
    values = {}
    for line in out.split("\n"):
        if line:
            words = line.split()
            values[int(words[1])] = [int(w) for w in words[2:]]
    return values


CHECK_HEAD = """// Generated by scripts/check_winsim_headers.py: winsim's values, to be compiled against mingw-w64.
""" + INCLUDE_LINES + """#include <cstddef>

template <int Id, long long Winsim, long long Mingw> struct Same {
    static_assert(Winsim == Mingw, "winsim and mingw-w64 differ");
    static constexpr bool ok = true;
};
"""


def check_arch(arch, compiler, checks, build_dir, mingw_stand_ins):
    """Compiles the static_asserts for one architecture; returns {check index: complaint}."""
    source = os.path.join(build_dir, "mingw_%s_check.cpp" % arch)
    lines = CHECK_HEAD.rstrip("\n").split("\n")
    line_of = {}
    for i, (_, winsim_value, expression) in enumerate(checks):
        line_of[len(lines) + 1] = i
        lines.append("static_assert(Same<%d, %dLL, (long long)(%s)>::ok);" % (i, winsim_value, expression))
    with open(source, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    result = run([compiler, "-std=c++20", "-w", "-fsyntax-only", "-fdiagnostics-plain-output", "-DUNICODE",
                  "-D_UNICODE", "-isystem", mingw_stand_ins, source])
    complaints = {}
    for m in re.finditer(r"In instantiation of 'struct Same<(\d+), (-?\d+), (-?\d+)>'", result.stderr):
        complaints[int(m.group(1))] = ("differs", int(m.group(3)))
    for m in re.finditer(re.escape(source) + r":(\d+):\d+: error: (.*)", result.stderr):
        i = line_of.get(int(m.group(1)))
        if i is not None and i not in complaints:
            complaints[i] = ("missing", m.group(2))
    if result.returncode != 0 and not complaints:
        sys.stderr.write(result.stderr)
        raise SystemExit("check_winsim_headers: the %s check does not compile" % arch)
    return complaints


def show(value, is_constant):
    """A constant in decimal and hex (negative ones as their 32-bit pattern), a size or offset in decimal."""
    if not is_constant:
        return str(value)
    return "%d (0x%08X)" % (value, value & 0xFFFFFFFF if -(1 << 31) <= value < 0 else value)


def interfaces(preprocessed):
    """The C++ COM interfaces of a preprocessed translation unit: name -> (base or None, [(method, parameter
    count)]) for every struct whose body declares pure virtual methods."""
    text = re.sub(r"^#.*$", " ", preprocessed, flags=re.M)
    text = re.sub(r"__attribute__\s*\(\((?:[^()]|\([^()]*\))*\)\)", " ", text)
    text = re.sub(r"__declspec\s*\([^)]*\)", " ", text)
    found = {}
    for m in re.finditer(r"\bstruct\s+(\w+)\s*(?::\s*public\s+(\w+)\s*)?\{", text):
        close = matching_brace(text, m.end() - 1)
        body = text[m.end():close]
        methods = []
        for v in re.finditer(r"\bvirtual\b[^;{]*?\b(\w+)\s*\(([^;]*)\)\s*(?:const\s*)?=\s*0\s*;", body):
            params = v.group(2).strip()
            count = 0 if params in ("", "void") else params.count(",") + 1
            methods.append((v.group(1), count))
        if methods:
            found[m.group(1)] = (m.group(2), methods)
    return found


def check_interfaces(include_dir, build_dir, mingw_stand_ins):
    """Returns the differences between winsim's COM interfaces and mingw-w64's."""
    probe = os.path.join(build_dir, "interfaces.cpp")
    with open(probe, "w", encoding="utf-8") as f:
        f.write(INCLUDE_LINES)
    winsim = interfaces(run(["g++", "-std=c++20", "-E", "-DUNICODE", "-D_UNICODE", "-I", include_dir, probe],
                            check=True).stdout)
    mingw = interfaces(run(["x86_64-w64-mingw32-g++", "-std=c++20", "-E", "-DUNICODE", "-D_UNICODE",
                            "-isystem", mingw_stand_ins, probe], check=True).stdout)
    problems = []
    for name, (base, methods) in sorted(winsim.items()):
        if name not in mingw:
            problems.append("interface %s: mingw-w64 does not declare it" % name)
            continue
        theirs_base, theirs = mingw[name]
        if base != theirs_base:
            problems.append("interface %s: base %s, mingw-w64 %s" % (name, base, theirs_base))
        if methods != theirs:
            for i in range(max(len(methods), len(theirs))):
                ours = methods[i] if i < len(methods) else None
                other = theirs[i] if i < len(theirs) else None
                if ours != other:
                    problems.append("interface %s: slot %d is %s, mingw-w64 has %s" % (name, i, ours, other))
                    break
    return len(winsim), problems


def main():
    source_dir, build_dir = sys.argv[1], sys.argv[2]
    include_dir = os.path.join(source_dir, "winsim", "include")
    mingw_stand_ins = os.path.join(source_dir, "cmake", "mingw-include")
    os.makedirs(build_dir, exist_ok=True)

    macros, records, aliases = read_headers(include_dir)
    items = [("C", name) for name in macros]
    for record, fields in records:
        items.append(("S", record))
        items.extend(("F", record, path) for path, _ in fields)
    values = generate_values(items, build_dir, include_dir)

    # A record follows the pointer width when a field does, or holds a record that does.
    field_types = {record: fields for record, fields in records}
    width_dependent = {}
    for record, fields in records:
        dependent = False
        for path, type_name in fields:
            i = items.index(("F", record, path))
            nested = resolve(type_name, aliases) if type_name else None
            dependent = dependent or values[i][2] == 1 or (nested in field_types and width_dependent.get(nested))
        width_dependent[record] = bool(dependent)

    checks = []  # (description, winsim value, mingw-w64 expression, record or None)
    for i, item in enumerate(items):
        if i not in values:
            continue
        if item[0] == "C":
            checks.append((item[1], values[i][0], item[1], None))
        elif item[0] == "S":
            checks.append(("sizeof(%s)" % item[1], values[i][0], "sizeof(%s)" % item[1], item[1]))
        else:
            record, path = item[1], item[2]
            checks.append(("offsetof(%s, %s)" % (record, path), values[i][0],
                           "offsetof(%s, %s)" % (record, path), record))
            checks.append(("sizeof(%s::%s)" % (record, path), values[i][1],
                           "sizeof(((%s*)0)->%s)" % (record, path), record))

    constants = sum(1 for c in checks if c[3] is None)
    skipped_x86 = sorted(r for r, d in width_dependent.items() if d)
    print("winsim headers: %d numeric constants, %d records (%d follow the pointer width)"
          % (constants, len(records), len(skipped_x86)))

    failures = 0
    winsim_only = {}
    for arch, compiler in (("x64", "x86_64-w64-mingw32-g++"), ("x86", "i686-w64-mingw32-g++")):
        arch_checks = [c for c in checks if arch == "x64" or (c[3] is None and c[0] not in POINTER_WIDTH_CONSTANTS)
                       or (c[3] is not None and not width_dependent[c[3]])]
        complaints = check_arch(arch, compiler, [(c[0], c[1], c[2]) for c in arch_checks], build_dir,
                                mingw_stand_ins)
        for i, (kind, detail) in sorted(complaints.items()):
            description, winsim_value, _, record = arch_checks[i]
            is_constant = record is None
            if kind == "missing" and is_constant:
                winsim_only.setdefault(description, detail)
                continue
            failures += 1
            if kind == "differs":
                print("%s: %s: winsim %s, mingw-w64 %s" % (arch, description, show(winsim_value, is_constant),
                                                           show(detail, is_constant)))
            else:
                print("%s: %s: mingw-w64 cannot answer it: %s" % (arch, description, detail))
        print("%s: %d checks%s" % (arch, len(arch_checks),
                                   "" if arch == "x64" else ", records that follow the pointer width skipped: "
                                   + ", ".join(skipped_x86)))
    for name, detail in sorted(winsim_only.items()):
        if name in WINSIM_ONLY:
            print("winsim only, kept: %s (%s)" % (name, WINSIM_ONLY[name]))
        else:
            failures += 1
            print("winsim only: %s is not in mingw-w64's headers (%s)" % (name, detail))
    count, problems = check_interfaces(include_dir, build_dir, mingw_stand_ins)
    for problem in problems:
        print(problem)
    failures += len(problems)
    print("COM interfaces: %d compared with mingw-w64's method tables" % count)
    if failures:
        print("winsim headers: %d differences from mingw-w64" % failures)
        return 1
    print("winsim headers: every constant and record layout agrees with mingw-w64")
    return 0


if __name__ == "__main__":
    sys.exit(main())
