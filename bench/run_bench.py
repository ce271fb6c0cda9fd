#!/usr/bin/env python3
"""Times tavrin-convert against cp -r and a sed pass, and measures its peak memory.

Generates in a temporary folder a project of about 200 MB (400 form files of about 250 KB
with lines of about 30 bytes, some of them using the version 5 controls; 100 binary .frx
files of 1 MB; a .vbp referencing both control libraries), then times, each as the median of
several runs after one unmeasured warm-up run:

  cp      cp -r of the project folder
  tavrin  tavrin-convert of the project into a fresh target folder
  sed     sed -i with the fourteen replacement rows over the text files of a fresh copy
          (only the sed run is timed, not the copy)
  window  the same conversion from the window (window_pass_bench, headless), timed from the
          click on the convert command to its end as the program itself reports it; skipped
          when window_pass_bench is not built

It also times cp -r against tavrin-convert --recursive on one copy of a (smaller) project and
on a tree of 20 copies of it. It does so for two projects: the one above, and a dense one in which one line in fifty of
every form names a control of the old libraries. Afterwards it converts a project holding one
text file of about 1 GB, and one holding a text file of 2 GiB without any line end (sparse,
once plain and once with old texts in it), and reports the peak resident memory of
tavrin-convert (from /usr/bin/time -v, or from VmHWM in /proc when that
is missing). Standard library only; see README.md.
"""
import argparse
import os
import pathlib
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]

V5_CTL = "{6B7E6392-850A-101B-AFC0-4210102A8DA7}"
V6_CTL = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"
V5_CT2 = "{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}"
V6_CT2 = "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}"
ROWS = [
    (V5_CTL + "#1.3#0", V6_CTL + "#2.0#0"),
    (V5_CTL + "#1.2#0", V6_CTL + "#2.0#0"),
    (V5_CTL + "#1.1#0", V6_CTL + "#2.0#0"),
    (V5_CTL + "#1.0#0", V6_CTL + "#2.0#0"),
    (V5_CTL, V6_CTL),
    ("COMCTL32.OCX", "MSCOMCTL.OCX"),
    ("ComctlLib.", "MSComctlLib."),
    (V5_CT2 + "#1.3#0", V6_CT2 + "#2.0#0"),
    (V5_CT2 + "#1.2#0", V6_CT2 + "#2.0#0"),
    (V5_CT2 + "#1.1#0", V6_CT2 + "#2.0#0"),
    (V5_CT2 + "#1.0#0", V6_CT2 + "#2.0#0"),
    (V5_CT2, V6_CT2),
    ("COMCT232.OCX", "MSCOMCT2.OCX"),
    ("ComCtl2.", "MSComCtl2."),
]

MIB = 1024 * 1024


# ---------------------------------------------------------------------------- generation

def plain_lines(rng: random.Random, count: int) -> list:
    """Lines of about 30 bytes that look like VB code and hold no old text."""
    words = ["Dim", "Set", "If", "Then", "Else", "End", "Sub", "For", "Next", "Call", "Wert",
             "Anzahl", "Kunde", "Liste", "Text1", "Caption", "= 0", "= 1", "&", "+", "Zähler"]
    lines = []
    for _ in range(count):
        line = "    "
        while len(line) < 26:
            line += rng.choice(words) + " "
        lines.append(line.rstrip())
    return lines


def control_lines(index: int) -> list:
    return [
        f"   Begin ComctlLib.ListView ListView{index} ",
        "      _Version        =   327682",
        f"   Begin ComCtl2.UpDown UpDown{index} ",
        "Private Sub lv_ItemClick(ByVal Item As ComctlLib.ListItem)",
    ]


def write_form(path: pathlib.Path, size: int, rng: random.Random, with_controls: bool, block: list) -> None:
    header = ["VERSION 5.00"]
    if with_controls:
        header += [f'Object = "{V5_CTL}#1.3#0"; "COMCTL32.OCX"', f'Object = "{V5_CT2}#1.2#0"; "COMCT232.OCX"']
    header += [f"Begin VB.Form {path.stem} "]
    lines = header
    body = "\r\n".join(lines) + "\r\n"
    chunk = "\r\n".join(block) + "\r\n"
    parts = [body]
    written = len(body.encode("cp1252"))
    chunk_size = len(chunk.encode("cp1252"))
    n = 0
    while written + chunk_size <= size:
        parts.append(chunk)
        written += chunk_size
        n += 1
        if with_controls and n % 200 == 0:
            extra = "\r\n".join(control_lines(n)) + "\r\n"
            parts.append(extra)
            written += len(extra.encode("cp1252"))
    parts.append("End")  # the last line without a line end
    path.write_bytes("".join(parts).encode("cp1252"))


def make_project(folder: pathlib.Path, forms: int, form_size: int, binaries: int, binary_size: int,
                 dense: bool = False) -> None:
    """The project to time. Dense: one line in fifty of every form names a control of the old
    libraries, as in real forms with many controls; otherwise one in about 3000, in one form of
    twenty."""
    folder.mkdir(parents=True)
    rng = random.Random(5)
    block = plain_lines(rng, 49) + control_lines(1)[:1] if dense else plain_lines(rng, 64)
    vbp = [
        "Type=Exe",
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\WINDOWS\\SYSTEM\\stdole2.tlb#OLE Automation",
        f"Object={V5_CTL}#1.3#0; COMCTL32.OCX",
        f"Object={V5_CT2}#1.2#0; COMCT232.OCX",
    ]
    vbp += [f"Form=Form{i:03d}.frm" for i in range(forms)]
    (folder / "Projekt1.vbp").write_bytes(("\r\n".join(vbp) + "\r\n").encode("cp1252"))
    for i in range(forms):
        write_form(folder / f"Form{i:03d}.frm", form_size, rng, dense or i % 20 == 0, block)
    data = rng.randbytes(binary_size)
    for i in range(binaries):
        # Each file differs a little, so no file system can share their blocks.
        (folder / f"Form{i:03d}.frx").write_bytes(i.to_bytes(4, "little") + data[4:])


def make_long_line_project(folder: pathlib.Path, size: int, with_old_texts: bool) -> None:
    """A text file of `size` bytes without any line end: sparse (NUL bytes), so it costs no disk
    space, with old texts here and there when asked."""
    folder.mkdir(parents=True)
    (folder / "Lang.vbp").write_bytes(b"Type=Exe\r\nForm=Lang.frm\r\n")
    with open(folder / "Lang.frm", "wb") as out:
        if with_old_texts:
            for at in range(0, size - 64, max(1, size // 1000)):
                out.seek(at)
                out.write(b"ComctlLib.")
        out.truncate(size)


def make_big_text_project(folder: pathlib.Path, size: int) -> None:
    folder.mkdir(parents=True)
    (folder / "Gross.vbp").write_bytes(f"Type=Exe\r\nObject={V5_CTL}#1.3#0; COMCTL32.OCX\r\nForm=Gross.frm\r\n"
                                       .encode("cp1252"))
    rng = random.Random(7)
    block_lines = plain_lines(rng, 30000) + control_lines(1)
    block = ("\r\n".join(block_lines) + "\r\n").encode("cp1252")
    with open(folder / "Gross.frm", "wb") as out:
        written = 0
        while written < size:
            out.write(block)
            written += len(block)


# ---------------------------------------------------------------------------- measuring

def run(command: list, **kwargs) -> None:
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, **kwargs)


def timed(command: list) -> float:
    os.sync()  # do not let the write-back of an earlier run fall into this one
    start = time.perf_counter()
    run(command)
    return time.perf_counter() - start


def sed_command(files: list) -> list:
    command = ["sed", "-i"]
    for old, new in ROWS:
        command += ["-e", "s|" + re.sub(r"([.\[\]*^$\\|])", r"\\\1", old) + "|" + new.replace("&", r"\&") + "|g"]
    return command + [str(f) for f in files]


def text_files(folder: pathlib.Path) -> list:
    return sorted(p for p in folder.iterdir() if p.suffix.lower() in (".frm", ".vbp"))


def timed_window(command: list) -> float:
    """Runs window_pass_bench and returns the seconds of the pass that it prints."""
    os.sync()
    done = subprocess.run(command, check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return float(done.stdout.split()[-1])


def measure(work: pathlib.Path, source: pathlib.Path, tool: pathlib.Path, runs: int,
            window_tool: pathlib.Path = None) -> dict:
    times = {"cp": [], "tavrin": [], "sed": []}
    if window_tool is not None:
        times["window"] = []
    for attempt in range(runs + 1):  # attempt 0 warms the caches and is not counted
        target = work / f"cp{attempt}"
        t_cp = timed(["cp", "-r", str(source), str(target)])
        shutil.rmtree(target)

        target = work / f"tavrin{attempt}"
        t_tavrin = timed([str(tool), str(source), str(target)])
        shutil.rmtree(target)

        copy = work / f"sed{attempt}"
        run(["cp", "-r", str(source), str(copy)])
        t_sed = timed(sed_command(text_files(copy)))
        shutil.rmtree(copy)

        line = f"cp {t_cp:6.2f} s   tavrin {t_tavrin:6.2f} s   sed {t_sed:6.2f} s"
        if window_tool is not None:
            target = work / f"fenster{attempt}"
            t_window = timed_window([str(window_tool), str(source), str(target)])
            shutil.rmtree(target)
            line += f"   fenster {t_window:6.2f} s"

        label = "Aufwärmen" if attempt == 0 else f"Lauf {attempt}"
        print(f"  {label:10s} {line}", flush=True)
        if attempt > 0:
            times["cp"].append(t_cp)
            times["tavrin"].append(t_tavrin)
            times["sed"].append(t_sed)
            if window_tool is not None:
                times["window"].append(t_window)
    return {name: statistics.median(values) for name, values in times.items()}


def peak_memory_kib(command: list) -> tuple:
    """Runs `command` and returns (seconds, peak resident memory in KiB)."""
    os.sync()
    if os.path.exists("/usr/bin/time"):
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-v"] + command, check=True, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True, errors="replace")
        seconds = time.perf_counter() - start
        found = re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr)
        return seconds, int(found.group(1))
    # Without GNU time: poll the high-water mark of the running process.
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        try:
            with open(f"/proc/{process.pid}/status") as status:
                for line in status:
                    if line.startswith("VmHWM:"):
                        peak = max(peak, int(line.split()[1]))
        except OSError:
            pass
        time.sleep(0.01)
    if process.returncode != 0:
        raise subprocess.CalledProcessError(process.returncode, command)
    return time.perf_counter() - start, peak


def make_tree(folder: pathlib.Path, project: pathlib.Path, copies: int) -> None:
    """`copies` copies of `project`, each in a subfolder of its own; the files are hard links,
    so the tree costs the disk space of one copy (cp -r and tavrin-convert write them all)."""
    for index in range(1, copies + 1):
        copy = folder / f"Kopie{index:02d}"
        copy.mkdir(parents=True)
        for entry in project.iterdir():
            os.link(entry, copy / entry.name)


def measure_tree(work: pathlib.Path, project: pathlib.Path, tool: pathlib.Path, copies: int, runs: int) -> None:
    """Times cp -r and tavrin-convert --recursive on one copy and on a tree of `copies`."""
    tree = work / "Baum"
    make_tree(tree, project, copies)
    for label, source in (("eine Kopie", project), (f"{copies} Kopien", tree)):
        times = {"cp": [], "tavrin": []}
        for attempt in range(runs + 1):
            target = work / f"baum-cp{attempt}"
            t_cp = timed(["cp", "-r", str(source), str(target)])
            shutil.rmtree(target)
            target = work / f"baum-tavrin{attempt}"
            t_tavrin = timed([str(tool), "--recursive", str(source), str(target)])
            shutil.rmtree(target)
            if attempt > 0:
                times["cp"].append(t_cp)
                times["tavrin"].append(t_tavrin)
        cp, tavrin = statistics.median(times["cp"]), statistics.median(times["tavrin"])
        print(f"  {label:10s} cp -r {cp:7.3f} s   tavrin -r {tavrin:7.3f} s   tavrin/cp {tavrin / cp:5.2f}", flush=True)
    shutil.rmtree(tree)


def fresh_data_folder(work: pathlib.Path) -> pathlib.Path:
    """The folder for everything the run makes, inside `work`, made empty.

    A folder left by an earlier run (stopped or failed) is removed first; a folder of that
    name that this script did not make is left alone and stops the run.
    """
    data = work / "tavrin-bench"
    marker = data / ".tavrin-bench"
    if data.exists() or data.is_symlink():
        if data.is_symlink() or not marker.is_file():
            raise SystemExit(f"{data} gibt es schon, aber nicht von diesem Skript; bitte verschieben")
        shutil.rmtree(data)
    data.mkdir(parents=True)
    marker.touch()
    return data


def folder_size(folder: pathlib.Path) -> int:
    return sum(p.stat().st_size for p in folder.iterdir() if p.is_file())


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tool", type=pathlib.Path, default=ROOT / "build-bench" / "bin" / "tavrin-convert",
                        help="tavrin-convert to measure (default: build-bench/bin/tavrin-convert)")
    parser.add_argument("--window-tool", type=pathlib.Path,
                        default=ROOT / "build-bench" / "bin" / "window_pass_bench",
                        help="window_pass_bench to measure (default: build-bench/bin/window_pass_bench; "
                             "skipped when missing)")
    parser.add_argument("--work", type=pathlib.Path, default=None,
                        help="folder to generate in, in a folder tavrin-bench of its own that is removed "
                             "at the end (default: a new temporary folder)")
    parser.add_argument("--runs", type=int, default=5, help="measured runs per command (default 5)")
    parser.add_argument("--scale", type=float, default=1.0, help="size factor for a quicker run (default 1)")
    parser.add_argument("--big-mib", type=int, default=1024, help="size of the big text file in MiB (0: skip)")
    parser.add_argument("--tree-copies", type=int, default=20,
                        help="copies of the project in the tree for --recursive (0: skip)")
    parser.add_argument("--tree-scale", type=float, default=0.25,
                        help="size factor of each copy in the tree (default 0.25)")
    parser.add_argument("--long-line-mib", type=int, default=2048,
                        help="size of the text file without line end in MiB (0: skip)")
    args = parser.parse_args()

    if not args.tool.is_file():
        print(f"{args.tool} fehlt; erst bauen (siehe bench/README.md)", file=sys.stderr)
        return 2
    root = args.work or pathlib.Path(tempfile.mkdtemp(prefix="tavrin-bench-"))
    # The folders above the data that this run makes, the deepest first.
    made = [root] if args.work is None else [p for p in [root, *root.parents] if not p.exists()]
    work = fresh_data_folder(root)
    try:
        window_tool = args.window_tool if args.window_tool.is_file() else None
        if window_tool is None:
            print(f"{args.window_tool} fehlt; die Konvertierung aus dem Fenster wird nicht gemessen")
        for dense, title, tavrin_goal in ((False, "Projekt", "Ziel <= 3, angestrebt 2"),
                                          (True, "Dichtes Projekt (jede 50. Zeile mit Verweis)", "Ziel <= 2")):
            source = work / ("Dicht" if dense else "Projekt")
            make_project(source, forms=max(1, int(400 * args.scale)), form_size=250 * 1024,
                         binaries=max(1, int(100 * args.scale)), binary_size=MIB, dense=dense)
            print(f"{title}: {len(list(source.iterdir()))} Dateien, {folder_size(source) / MIB:.1f} MiB in {source}")
            medians = measure(work, source, args.tool, args.runs, window_tool)
            print(f"Median aus {args.runs} Läufen:")
            for name, label in (("cp", "cp"), ("tavrin", "tavrin"), ("sed", "sed"), ("window", "fenster")):
                if name in medians:
                    print(f"  {label:7s} {medians[name]:7.3f} s")
            print(f"  tavrin/cp  {medians['tavrin'] / medians['cp']:5.2f}  ({tavrin_goal})")
            print(f"  sed/tavrin {medians['sed'] / medians['tavrin']:5.2f}  (Ziel >= 10)")
            if "window" in medians:
                print(f"  fenster/tavrin {medians['window'] / medians['tavrin']:5.2f}  (Ziel <= 1,5)")

            seconds, peak = peak_memory_kib([str(args.tool), str(source), str(work / "speicher")])
            print(f"Spitzenspeicher {title}: {peak / 1024:.1f} MiB ({seconds:.2f} s)")
            shutil.rmtree(work / "speicher")
            shutil.rmtree(source)

        if args.tree_copies > 0:
            project = work / "Baumprojekt"
            make_project(project, forms=max(1, int(400 * args.tree_scale)), form_size=250 * 1024,
                         binaries=max(1, int(100 * args.tree_scale)), binary_size=MIB)
            print(f"Baum aus {args.tree_copies} Kopien von {folder_size(project) / MIB:.1f} MiB "
                  f"(Median aus {args.runs} Läufen; Ziel: dasselbe Verhältnis zu cp -r wie eine Kopie):")
            measure_tree(work, project, args.tool, args.tree_copies, args.runs)
            shutil.rmtree(project)

        if args.long_line_mib > 0:
            for with_old_texts in (False, True):
                long = work / "Lang"
                make_long_line_project(long, args.long_line_mib * MIB, with_old_texts)
                seconds, peak = peak_memory_kib([str(args.tool), str(long), str(work / "lang-ziel")])
                what = "mit Ersetzungen" if with_old_texts else "ohne Ersetzungen"
                print(f"Spitzenspeicher Zeile ohne Zeilenende, {args.long_line_mib} MiB {what}: "
                      f"{peak / 1024:.1f} MiB ({seconds:.2f} s)  (Ziel < 64 MiB)")
                shutil.rmtree(long)
                shutil.rmtree(work / "lang-ziel")

        if args.big_mib > 0:
            big = work / "Gross"
            make_big_text_project(big, args.big_mib * MIB)
            print(f"Großes Projekt: {folder_size(big) / MIB:.1f} MiB Text in {big}")
            seconds, peak = peak_memory_kib([str(args.tool), str(big), str(work / "gross-ziel")])
            print(f"Spitzenspeicher große Textdatei: {peak / 1024:.1f} MiB ({seconds:.2f} s)  (Ziel < 64 MiB)")
    finally:
        # What the run made goes, whatever happened; a --work folder that was there stays.
        shutil.rmtree(work, ignore_errors=True)
        for folder in made:
            try:
                folder.rmdir()
            except OSError:
                break
    return 0


if __name__ == "__main__":
    sys.exit(main())
