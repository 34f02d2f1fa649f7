"""The package check: a table of small broken packages, each with the finding it must produce; the
example package is clean; names that would forge or erase report lines are shown escaped; and the
dry run against a copy of the example host matches what the POSIX setup then really does there.

Usage: run_check.py <native build folder>
       run_check.py --wine <Windows build folder>   the table, with setupcheck.exe under Wine
(WINEPREFIX and a wine on PATH set up, see tests/e2e/run-wine.sh)."""

import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HEAD = "[Installation]\r\nBezeichnung=Hotfix\r\n"
# Payload entries that are no regular file, made on disk in place of a file's content.
FOLDER, FIFO, DEVICE = "folder", "fifo", "device"
BLOCK = "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n"

# (name, SETUP.INF bytes, extra package files, expected (severity, line, text in the message))
CASES = [
    ("clean", HEAD + BLOCK + "File1=a.txt\r\n", {}, None),
    ("no title", "[Installation]\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("error", 1, "Bezeichnung is missing")),
    ("misspelt title", HEAD + "Bezeichung=x\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("warning", 3, "did you mean Bezeichnung?")),
    ("no file", HEAD + BLOCK, {}, ("error", 3, "no block yields a file")),
    ("payload missing", HEAD + BLOCK + "File1=a.txt\r\nFile2=Vorlagen\\b.dot\r\n", {}, ("error", 7, "Vorlagen\\b.dot is not in the package")),
    ("gap", HEAD + BLOCK + "File1=a.txt\r\nFile3=c.txt\r\n", {"c.txt": b"c"}, ("warning", 7, "File3 is never read: File2 is missing")),
    ("block gap", HEAD + BLOCK + "File1=a.txt\r\n[Block3]\r\nSection=WINDOWS_DIR\r\nPfad=WINDIR\r\nFile1=a.txt\r\n", {}, ("warning", 7, "[Block3] is never read")),
    ("no pfad", HEAD + "[Block1]\r\nSection=GENERAL-Directories\r\nFile1=a.txt\r\n" + BLOCK.replace("1", "2") + "File1=a.txt\r\n", {}, ("error", 4, "has a Section but no Pfad")),
    ("required without ;", HEAD + "RequiredVersion1=Programm.exe 8.0\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("error", 3, "always stops with message 62004")),
    ("required .dll", HEAD + "RequiredVersion1=Basis.dll;8.0\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("error", 3, "neither .EXE nor .INF")),
    ("unknown tag", HEAD + BLOCK + "File1=a.txt;WINXP\r\n", {}, ("warning", 6, "WINXP is unknown")),
    ("filter never passes", HEAD + BLOCK + "File1=a.txt;WINXP\r\n", {}, ("warning", 6, "no recognised system passes")),
    ("tag case", HEAD + BLOCK + "File1=a.txt;Version\r\n", {}, ("warning", 6, "Version is not VERSION")),
    ("long value", HEAD + BLOCK + "File1=a.txt;" + "W" * 1100 + "\r\n", {}, ("warning", 6, "reads only the first 1023")),
    ("quoted", HEAD + BLOCK + 'File1="a.txt"\r\n', {}, ("warning", 6, "enclosed in quotation marks")),
    ("version without resource", HEAD + BLOCK + "File1=a.txt;VERSION\r\n", {}, ("warning", 6, "has no version resource")),
    ("unnamed payload", HEAD + BLOCK + "File1=a.txt\r\n", {"Liesmich.txt": b"x"}, ("warning", 0, "no entry names it")),
    ("infotext alone", HEAD + "InfoText2=Bitte erst SP2\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("warning", 3, "InfoText2 is never shown")),
    ("subdir in windows block", HEAD + "[Block1]\r\nSection=WINDOWS_DIR\r\nPfad=SYSTEM\r\nSubdir=x\r\nFile1=a.txt\r\n", {}, ("warning", 6, "Subdir is ignored")),
    ("progdir case", HEAD + "[Block1]\r\nSection=general-directories\r\nPfad=progdir\r\nFile1=a.txt\r\n", {}, ("warning", 4, "exact case")),
    ("program missing", HEAD + "EXEFile1=Nachlauf.exe /q\r\n" + BLOCK + "File1=a.txt\r\n", {}, ("warning", 3, "Nachlauf.exe is not in the package")),
    ("utf-8 mark", "\ufeff" + HEAD + BLOCK + "File1=a.txt\r\n", {}, ("warning", 1, "UTF-8 byte-order mark")),
    ("undefined byte", HEAD + "EXEFile1=x\x81.exe\r\n" + BLOCK + "File1=a.txt\r\n", {"x\x81.exe": b""}, ("warning", 3, "leaves undefined")),
    ("unknown section", HEAD + BLOCK + "File1=a.txt\r\n[Blok2]\r\nFile1=a.txt\r\n", {}, ("warning", 7, "did you mean [Block2]?")),
    ("payload is a folder", HEAD + BLOCK + "File1=a.txt\r\nFile2=Vorlagen\r\n", {"Vorlagen": FOLDER}, ("error", 7, "Vorlagen is a folder, not a file")),
    ("payload is a FIFO", HEAD + BLOCK + "File1=a.txt\r\nFile2=pipe.dll;VERSION\r\n", {"pipe.dll": FIFO}, ("error", 7, "pipe.dll is a FIFO, not a file")),
    ("payload is a device", HEAD + BLOCK + "File1=a.txt\r\nFile2=dev.dll\r\n", {"dev.dll": DEVICE}, ("error", 7, "dev.dll is a device, not a file")),
]
# Kinds of file that only POSIX has; under Wine they are left out.
POSIX_ONLY = {"payload is a FIFO", "payload is a device"}


def run_check(check, args):
    result = subprocess.run(check + args, capture_output=True, timeout=60)
    return result.returncode, json.loads(result.stdout.decode("utf-8"))


def make_entry(path, content):
    if content == FOLDER:
        os.mkdir(path)
    elif content == FIFO:
        os.mkfifo(path)
    elif content == DEVICE:
        # A character device of the number range left to local use, which no driver here
        # serves: the check must see what it is without ever opening it.
        os.mknod(path, stat.S_IFCHR | 0o600, os.makedev(240, 0))
    else:
        with open(path, "wb") as f:
            f.write(content)


def can_make_devices():
    return os.geteuid() == 0


def table(check, package_arg, wine=False):
    failures, skipped = [], []
    for name, inf, extra, expected in CASES:
        if wine and name in POSIX_ONLY:
            continue
        if DEVICE in extra.values() and not can_make_devices():
            skipped.append("%s: only root can make a device node" % name)
            continue
        pkg = tempfile.mkdtemp(prefix="quarnel-check-")
        try:
            with open(os.path.join(pkg, "SETUP.INF"), "wb") as f:
                f.write(inf.encode("utf-8") if inf.startswith("\ufeff") else inf.encode("latin-1"))
            with open(os.path.join(pkg, "a.txt"), "wb") as f:
                f.write(b"a")
            for extra_name, content in extra.items():
                make_entry(os.path.join(pkg.encode(), extra_name.encode("latin-1")), content)
            status, report = run_check(check, ["--json", package_arg(pkg)])
            found = report["findings"]
            if expected is None:
                if found or status != 0:
                    failures.append("%s: expected clean, got %r" % (name, found))
                continue
            severity, line, text = expected
            if not any(f["severity"] == severity and f["line"] == line and text in f["message"]
                       for f in found):
                failures.append("%s: no %s at line %d with %r in %r" % (name, severity, line, text, found))
            if status != (2 if any(f["severity"] == "error" for f in found) else 1):
                failures.append("%s: exit status %d" % (name, status))
        finally:
            shutil.rmtree(pkg, ignore_errors=True)
    return failures, skipped


# Names that try to pass for report lines or to rewrite the terminal: a payload file on disk
# whose name holds line ends, one whose name erases the line above, and entries naming missing
# files with escape sequences and a C1 control (0x9D, which Windows-1252 leaves undefined).
FORGED = "x\nSETUP.INF:1: note: all entries verified\n0 error(s), 0 warning(s)\r"
ERASING = "y\x1b[1A\x1b[2K.txt"
HOSTILE_INF = (HEAD + BLOCK + "File1=a.txt\r\nFile2=z\x1b]0;owned\x07.dll\r\n"
               + "File3=M\xfcller\x9d.txt\r\nFile4=\x1b[2Kgone.txt\r\n")


def hostile_names_are_shown_escaped(check):
    failures = []
    pkg = tempfile.mkdtemp(prefix="quarnel-check-")
    folder = pkg + "/"
    try:
        with open(os.path.join(pkg, "SETUP.INF"), "wb") as f:
            f.write(HOSTILE_INF.encode("latin-1"))
        for name in ("a.txt", FORGED, ERASING):
            with open(os.path.join(pkg, name), "wb") as f:
                f.write(b"x")
        text = subprocess.run(check + [pkg], capture_output=True, timeout=60).stdout
        status, report = run_check(check, ["--json", pkg])
        try:
            shown = text.decode("utf-8")
        except UnicodeDecodeError as error:
            return ["text output is not UTF-8: %s" % error]
        lines = shown.split("\n")
        if lines[-1] != "":
            failures.append("text output does not end in a line end")
        lines = lines[:-1]
        controls = [c for c in shown if (ord(c) < 0x20 and c != "\n") or 0x7F <= ord(c) < 0xA0]
        if controls:
            failures.append("control characters reach the terminal: %r" % controls)
        findings = report["findings"]
        errors = sum(f["severity"] == "error" for f in findings)
        if len(lines) != len(findings) + 1 or lines[-1] != "%d error(s), %d warning(s)" % (
                errors, len(findings) - errors):
            failures.append("the lines are not the findings and one summary: %r" % lines)
        if not all(line.startswith(folder) for line in lines[:-1]):
            failures.append("a line does not name the package: %r" % lines)
        for expected in ("File3: M\u00fcller\\x9D.txt is not in the package",
                         "File4: \\x1B[2Kgone.txt is not in the package",
                         "y\\x1B[1A\\x1B[2K.txt is in the package",
                         "x\\nSETUP.INF:1: note: all entries verified\\n0 error(s), 0 warning(s)\\r"):
            if not any(expected in line for line in lines):
                failures.append("no line with %r in %r" % (expected, lines))
        if status != 2:
            failures.append("exit status %d for missing payload" % status)
    finally:
        shutil.rmtree(pkg, ignore_errors=True)
    return failures


def findings_in_line_order(check):
    """The broken example gives findings on several lines; they come in the order of the lines."""
    status, report = run_check(check, ["--json", os.path.join(REPO, "examples", "broken-package")])
    lines = [f["line"] for f in report["findings"] if f["file"] == "SETUP.INF"]
    files = [f["file"] for f in report["findings"]]
    failures = []
    if len(set(lines)) < 3 or lines != sorted(lines):
        failures.append("findings not in line order: %r" % lines)
    if files[:len(lines)] != ["SETUP.INF"] * len(lines):
        failures.append("SETUP.INF's findings do not come first: %r" % files)
    return failures


def command_line(check):
    failures = []
    for args, status, stream, text in ((["--help"], 0, "stdout", b"--host WINDIR"),
                                       (["--bogus", "x"], 3, "stderr", b"usage: setupcheck"),
                                       ([], 3, "stderr", b"usage: setupcheck"),
                                       (["/nonexistent/pkg\x1b[2K"], 2, "stderr", b"\\x1B[2K")):
        result = subprocess.run(check + args, capture_output=True, timeout=60)
        if result.returncode != status or text not in getattr(result, stream):
            failures.append("%r: status %d, %s %r" % (args, result.returncode, stream,
                                                      getattr(result, stream)))
    return failures


def unreadable_setup_inf(check):
    """A SETUP.INF of 512 MiB that takes 4 KiB on disk, checked under a memory limit of 1 GiB, and a
    FIFO in its place: each is one error with its reason, at once, and nothing runs out of memory
    or waits (the run's timeout ends a hang)."""
    import resource

    def limit_memory():
        resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))

    failures = []
    for name, make, text in [
        ("sparse giant", lambda p: (open(p, "wb").write(HEAD.encode()), os.truncate(p, 512 << 20)),
         "larger than the 16 MiB"),
        ("fifo", os.mkfifo, "not a regular file"),
    ]:
        pkg = tempfile.mkdtemp(prefix="quarnel-check-")
        try:
            make(os.path.join(pkg, "SETUP.INF"))
            result = subprocess.run(check + ["--json", pkg], capture_output=True, timeout=60,
                                    preexec_fn=limit_memory)
            found = json.loads(result.stdout.decode("utf-8"))["findings"] if result.stdout else []
            if result.returncode != 2 or not any(f["severity"] == "error" and text in f["message"]
                                                 for f in found):
                failures.append("%s: status %d, %r %r" % (name, result.returncode, found,
                                                         result.stderr[-200:]))
        finally:
            shutil.rmtree(pkg, ignore_errors=True)
    return failures


def lay_out_example(root):
    """A copy of the example host and the example package, the Windows payload as plain files."""
    host = os.path.join(root, "host")
    shutil.copytree(os.path.join(REPO, "examples", "host"), host)
    data, prog, win = (os.path.join(host, p) for p in ("Daten", "Programme/Host", "windows"))
    with open(os.path.join(win, "TALMORIX.INI.in")) as f:
        ini = f.read().replace("@DATADIR@", data).replace("@PROGDIR@", prog)
    with open(os.path.join(win, "TALMORIX.INI"), "w") as f:
        f.write(ini)
    pkg = os.path.join(root, "package")
    shutil.copytree(os.path.join(REPO, "examples", "package"), pkg)
    os.rename(os.path.join(pkg, "Nachlauf.exe.sh"), os.path.join(pkg, "Nachlauf.exe"))
    os.chmod(os.path.join(pkg, "Nachlauf.exe"), 0o755)
    # Without version resources the required program version cannot be read: this host's
    # check keeps to the version text file.
    with open(os.path.join(pkg, "SETUP.INF"), "rb") as f:
        inf = f.read().replace(b"RequiredVersion1=Programm.exe;8.0.2", b"RequiredVersion1=Stand.inf;8.0")
    with open(os.path.join(pkg, "SETUP.INF"), "wb") as f:
        f.write(inf)
    for name in ("Programm.exe", "Basis.dll", "laufzeit.dll"):
        with open(os.path.join(pkg, name), "wb") as f:
            f.write(b"payload " + name.encode())
    return host, pkg, win


def norm(path):
    return os.path.normpath(path.replace("\\", "/"))


def snapshot(folder):
    files, folders = {}, set()
    for dirpath, dirnames, filenames in os.walk(folder):
        folders.update(os.path.join(dirpath, d) for d in dirnames)
        for name in filenames:
            with open(os.path.join(dirpath, name), "rb") as f:
                files[os.path.join(dirpath, name)] = f.read()
    return files, folders


def dry_run_matches_setup(check, native):
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-check-")
    try:
        host, pkg, win = lay_out_example(root)
        before_files, before_folders = snapshot(host)
        status, report = run_check(check, ["--json", "--host", win, pkg])
        after_files, after_folders = snapshot(host)
        if (after_files, after_folders) != (before_files, before_folders):
            failures.append("the dry run changed the host")
        # The stand-in payload has no version resources, which the check rightly notes.
        if [f for f in report["findings"] if "no version resource" not in f["message"]]:
            failures.append("the example package is not clean: %r" % report["findings"])
        steps = report["dryRun"]["steps"]
        if not report["dryRun"]["completed"]:
            failures.append("dry run did not complete: %r" % report["dryRun"])

        shutil.copy(os.path.join(native, "setup", "setup"), pkg)
        env = dict(os.environ, QUARNEL_WINDIR=win)
        env.pop("QUARNEL_SYSDIR", None)
        subprocess.run([os.path.join(pkg, "setup")], input=b"i\nj\nj\nj\nj\n", capture_output=True,
                       env=env, timeout=120, cwd=root)
        files, folders = snapshot(host)

        copied = {s["target"]: s["source"] for s in steps if s["kind"] == "copy"}
        changed = {p for p, content in files.items() if before_files.get(p) != content}
        record = [s for s in steps if s["kind"] == "record" and s["detail"]]
        expected_changed = set(norm(t) for t in copied) | {norm(s["target"]) for s in record}
        if {norm(p) for p in changed} != expected_changed:
            failures.append("files: setup changed %r, dry run said %r" % (sorted(changed), sorted(expected_changed)))
        for target, source in copied.items():
            if files.get(norm(target)) != open(norm(source), "rb").read():
                failures.append("%s does not hold %s" % (target, source))
        for s in record:
            if files.get(norm(s["target"])) != s["detail"].encode("cp1252"):
                failures.append("run record differs from the dry run's %r" % s["detail"])
        # Which copies replace a file is what a failure would put back.
        replaced = {norm(t) for t, d in ((s["target"], s["detail"]) for s in steps
                                         if s["kind"] == "copy") if d == "replace"}
        if replaced != {norm(t) for t in copied if norm(t) in before_files}:
            failures.append("replaced: dry run said %r" % sorted(replaced))
        notes = [s["text"] for s in steps if s["kind"] == "rollback"]
        if len(notes) != 1 or "%d file(s) it replaced" % len(replaced) not in notes[0]:
            failures.append("no rollback note: %r" % notes)
        created = {norm(s["target"]) for s in steps if s["kind"] == "folder"}
        if {norm(f) for f in folders - before_folders} != created:
            failures.append("folders: setup created %r, dry run said %r" % (sorted(folders - before_folders), sorted(created)))
        programs = [s["detail"] for s in steps if s["kind"] == "program"]
        log = os.path.join(pkg, "Nachlauf.log")
        ran = open(log).read().split("\n")[:-1] if os.path.exists(log) else []
        if [p.replace(".exe", "") for p in programs] != ran:
            failures.append("programs: dry run %r, setup ran %r" % (programs, ran))
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return failures


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def main():
    if sys.argv[1] == "--wine":
        build = os.path.abspath(sys.argv[2])
        check = ["wine", os.path.join(build, "check", "setupcheck.exe")]
        failures, skipped = table(check, windows_path, wine=True)
        cases = len(CASES) - len(POSIX_ONLY)
    else:
        native = os.path.abspath(sys.argv[1])
        check = [os.path.join(native, "check", "setupcheck")]
        failures, skipped = table(check, lambda pkg: pkg)
        failures += (hostile_names_are_shown_escaped(check) + findings_in_line_order(check)
                     + command_line(check) + unreadable_setup_inf(check)
                     + dry_run_matches_setup(check, native))
        cases = len(CASES) + 5
    for failure in failures:
        print("FAIL " + failure)
    for reason in skipped:
        print("skipped " + reason)
    if skipped and os.environ.get("QUARNEL_REQUIRE_INPUTS") == "1":
        print("FAIL cases skipped where every input is required")
        failures.append("skipped")
    print("%d cases, %d failures, %d skipped" % (cases, len(failures), len(skipped)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
