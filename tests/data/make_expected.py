#!/usr/bin/env python3
"""Writes the expected result of converting each example project.

For every folder under examples/ (one folder = one project) this writes
tests/data/expected/<folder>/ the way the converter must leave the target folder:

- Project text files (the lower-cased suffix after the first dot is one of the nine words of
  "vbp vbg frm cls ctl bas dob pag wct"; a name without a suffix is not) are rewritten line by
  line: CR LF, a lone LF and a lone CR each end a line, a last line without a line end is a
  line, every line is written back followed by CR LF, and the fourteen replacement rows are
  applied to each line in order. Rows 5 and 12 take a version suffix "#hex.hex#hex" right
  behind the bare class id along and write "#2.0#0" in its place.
- Every other ordinary file is copied byte for byte; hidden entries are left out, and so are
  subfolders unless the tree is converted.

Variants: a project whose top folder holds a .vbp file is converted as it is (expected/<name>);
a project with subfolders is also converted as a whole tree (expected/<name>+r: every subfolder
but hidden ones, into the same relative folders) and as a whole tree with the rows of the
complete upgrade (expected/<name>+r+c: eleven more rows, the sub-object class ids and the
library file names in any letter case).

Next to each folder it writes <folder>.report: the folders, the files copied and rewritten,
the lines changed and the replacements made by each row, one "key value" pair per line.

Written separately from the C++ code on purpose, with the standard library only, so the tests
compare two independent implementations. Run it after changing an example and check the
result by eye before committing it.
"""
import pathlib
import re
import shutil
import sys

V5_CTL = b"{6B7E6392-850A-101B-AFC0-4210102A8DA7}"
V6_CTL = b"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"
V5_CT2 = b"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}"
V6_CT2 = b"{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}"

EXACT, VERSION, ANY_CASE = "exact", "version", "any case"

ROWS = [
    (V5_CTL + b"#1.3#0", V6_CTL + b"#2.0#0", EXACT),
    (V5_CTL + b"#1.2#0", V6_CTL + b"#2.0#0", EXACT),
    (V5_CTL + b"#1.1#0", V6_CTL + b"#2.0#0", EXACT),
    (V5_CTL + b"#1.0#0", V6_CTL + b"#2.0#0", EXACT),
    (V5_CTL, V6_CTL, VERSION),
    (b"COMCTL32.OCX", b"MSCOMCTL.OCX", EXACT),
    (b"ComctlLib.", b"MSComctlLib.", EXACT),
    (V5_CT2 + b"#1.3#0", V6_CT2 + b"#2.0#0", EXACT),
    (V5_CT2 + b"#1.2#0", V6_CT2 + b"#2.0#0", EXACT),
    (V5_CT2 + b"#1.1#0", V6_CT2 + b"#2.0#0", EXACT),
    (V5_CT2 + b"#1.0#0", V6_CT2 + b"#2.0#0", EXACT),
    (V5_CT2, V6_CT2, VERSION),
    (b"COMCT232.OCX", b"MSCOMCT2.OCX", EXACT),
    (b"ComCtl2.", b"MSComCtl2.", EXACT),
]
assert len(ROWS) == 14

# The complete upgrade: sub-objects of the controls, and the library files in any letter case.
COMPLETE_ROWS = [
    (b"{0713E8C7-850A-101B-AFC0-4210102A8DA7}", b"{BDD1F052-858B-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E8C2-850A-101B-AFC0-4210102A8DA7}", b"{2C247F25-8591-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E8C3-850A-101B-AFC0-4210102A8DA7}", b"{2C247F27-8591-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E452-850A-101B-AFC0-4210102A8DA7}", b"{66833FE8-8583-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713F354-850A-101B-AFC0-4210102A8DA7}", b"{66833FEA-8583-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E89E-850A-101B-AFC0-4210102A8DA7}", b"{8E3867A5-8586-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E89F-850A-101B-AFC0-4210102A8DA7}", b"{8E3867AB-8586-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713E432-850A-101B-AFC0-4210102A8DA7}", b"{1EFB6598-857C-11D1-B16A-00C0F0283628}", EXACT),
    (b"{0713F341-850A-101B-AFC0-4210102A8DA7}", b"{1EFB659A-857C-11D1-B16A-00C0F0283628}", EXACT),
    (b"COMCTL32.OCX", b"MSCOMCTL.OCX", ANY_CASE),
    (b"COMCT232.OCX", b"MSCOMCT2.OCX", ANY_CASE),
]
assert len(COMPLETE_ROWS) == 11

VERSION_SUFFIX = re.compile(rb"#[0-9A-Fa-f]+\.[0-9A-Fa-f]+#[0-9A-Fa-f]+")

SUFFIX_LIST = "vbp vbg frm cls ctl bas dob pag wct"


def is_project_text(name: str) -> bool:
    dot = name.find(".")
    suffix = "" if dot < 0 else name[dot + 1:]
    return suffix.lower() in SUFFIX_LIST.split(" ")


def inside_new_text(line: bytes, pos: int, old: bytes, new: bytes) -> bool:
    """True when the occurrence of `old` at `pos` is part of an occurrence of `new`."""
    start = new.find(old)
    while start >= 0:
        begin = pos - start
        if begin >= 0 and line[begin:begin + len(new)] == new:
            return True
        start = new.find(old, start + 1)
    return False


def replace_row(line: bytes, old: bytes, new: bytes, kind: str = EXACT) -> tuple:
    """The line with the row applied, and the number of replacements made."""
    out = bytearray()
    count = 0
    done = 0  # bytes of `line` already handed to `out`
    haystack = line.upper() if kind == ANY_CASE else line
    pos = haystack.find(old)
    while pos >= 0:
        if not inside_new_text(line, pos, old, new):
            end = pos + len(old)
            replacement = new
            if kind == VERSION:
                suffix = VERSION_SUFFIX.match(line, end)
                if suffix:
                    end = suffix.end()
                    replacement = new + b"#2.0#0"
            out += line[done:pos] + replacement
            done = end
            count += 1
            pos = haystack.find(old, end)
        else:
            pos = haystack.find(old, pos + len(old))
    out += line[done:]
    return bytes(out), count


def split_lines(data: bytes) -> list:
    lines = []
    start = 0
    i = 0
    while i < len(data):
        byte = data[i]
        if byte == 0x0D or byte == 0x0A:
            lines.append(data[start:i])
            if byte == 0x0D and i + 1 < len(data) and data[i + 1] == 0x0A:
                i += 1
            start = i + 1
        i += 1
    if start < len(data):
        lines.append(data[start:])
    return lines


class Report:
    def __init__(self, rows: list):
        self.folders = 0
        self.files_copied = 0
        self.files_rewritten = 0
        self.lines_changed = 0
        self.rows = [0] * len(rows)

    def text(self) -> str:
        lines = [f"folders {self.folders}", f"files_copied {self.files_copied}",
                 f"files_rewritten {self.files_rewritten}", f"lines_changed {self.lines_changed}"]
        lines += [f"row{index} {count}" for index, count in enumerate(self.rows, start=1)]
        return "\n".join(lines) + "\n"


def convert_text(data: bytes, rows: list, report: Report) -> bytes:
    out = bytearray()
    for line in split_lines(data):
        changed = False
        for index, (old, new, kind) in enumerate(rows):
            line, count = replace_row(line, old, new, kind)
            report.rows[index] += count
            changed = changed or count > 0
        report.lines_changed += 1 if changed else 0
        out += line + b"\r\n"
    report.files_rewritten += 1
    return bytes(out)


def convert_folder(source: pathlib.Path, target: pathlib.Path, rows: list, tree: bool, report: Report) -> None:
    target.mkdir(parents=True, exist_ok=True)
    report.folders += 1
    entries = sorted(source.iterdir(), key=lambda p: p.name.encode())
    for entry in entries:
        if entry.name.startswith(".") or not entry.is_file():
            continue
        if is_project_text(entry.name):
            (target / entry.name).write_bytes(convert_text(entry.read_bytes(), rows, report))
        else:
            shutil.copyfile(entry, target / entry.name)
            report.files_copied += 1
    if tree:
        for entry in entries:
            if not entry.name.startswith(".") and entry.is_dir() and not entry.is_symlink():
                convert_folder(entry, target / entry.name, rows, tree, report)


def convert_project(source: pathlib.Path, target: pathlib.Path, tree: bool, complete: bool) -> Report:
    rows = ROWS + (COMPLETE_ROWS if complete else [])
    report = Report(rows)
    if target.exists():
        shutil.rmtree(target)
    convert_folder(source, target, rows, tree, report)
    return report


def self_test() -> None:
    # The guard leaves converted text alone; plain occurrences around it are still replaced.
    assert replace_row(b"MSComctlLib.A ComctlLib.B", b"ComctlLib.", b"MSComctlLib.") == \
        (b"MSComctlLib.A MSComctlLib.B", 1)
    assert replace_row(b"comctllib.x", b"ComctlLib.", b"MSComctlLib.") == (b"comctllib.x", 0)
    assert replace_row(V5_CTL + b"#1.4#0; x", V5_CTL, V6_CTL, VERSION) == (V6_CTL + b"#2.0#0; x", 1)
    assert replace_row(V5_CTL + b"#1.4; x", V5_CTL, V6_CTL, VERSION) == (V6_CTL + b"#1.4; x", 1)
    assert replace_row(b"a comCtl32.Ocx", b"COMCTL32.OCX", b"MSCOMCTL.OCX", ANY_CASE) == (b"a MSCOMCTL.OCX", 1)
    assert split_lines(b"a\r\nb\nc\rd") == [b"a", b"b", b"c", b"d"]
    assert split_lines(b"a\r\r\n") == [b"a", b""]
    assert split_lines(b"") == []
    assert is_project_text("F.FRM") and is_project_text("F.Frm") and is_project_text("G.vbg")
    for name in ("Liesmich", "Name.", "x.c", "x.s", "x.bp", "x.vb", "x.frm cls", "Form1.alt.frm", "Form1.frx",
                 "Projekt1.vbw"):
        assert not is_project_text(name), name


def main() -> int:
    self_test()
    root = pathlib.Path(__file__).resolve().parents[2]
    examples = root / "examples"
    expected = root / "tests" / "data" / "expected"
    for project in sorted(p for p in examples.iterdir() if p.is_dir()):
        variants = []
        if any(p.is_file() and p.name.lower().endswith(".vbp") for p in project.iterdir()):
            variants.append(("", False, False))
        if any(p.is_dir() and not p.name.startswith(".") for p in project.iterdir()):
            variants += [("+r", True, False), ("+r+c", True, True)]
        for suffix, tree, complete in variants:
            name = project.name + suffix
            report = convert_project(project, expected / name, tree, complete)
            (expected / (name + ".report")).write_text(report.text())
            print(f"{name}: {expected / name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
