"""The package check: a table of small broken packages, each with the finding it must produce; the
example package is clean; and the dry run against a copy of the example host matches what the
POSIX setup then really does there.

Usage: run_check.py <native build folder>"""

import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HEAD = "[Installation]\r\nBezeichnung=Hotfix\r\n"
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
]


def run_check(check, args):
    result = subprocess.run([check] + args, capture_output=True, timeout=60)
    return result.returncode, json.loads(result.stdout.decode("utf-8"))


def table(check):
    failures = []
    for name, inf, extra, expected in CASES:
        pkg = tempfile.mkdtemp(prefix="quarnel-check-")
        try:
            with open(os.path.join(pkg, "SETUP.INF"), "wb") as f:
                f.write(inf.encode("utf-8") if inf.startswith("\ufeff") else inf.encode("latin-1"))
            with open(os.path.join(pkg, "a.txt"), "wb") as f:
                f.write(b"a")
            for extra_name, content in extra.items():
                with open(os.path.join(pkg.encode(), extra_name.encode("latin-1")), "wb") as f:
                    f.write(content)
            status, report = run_check(check, ["--json", pkg])
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
            result = subprocess.run([check, "--json", pkg], capture_output=True, timeout=60,
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


def main():
    native = os.path.abspath(sys.argv[1])
    check = os.path.join(native, "check", "setupcheck")
    failures = table(check) + unreadable_setup_inf(check) + dry_run_matches_setup(check, native)
    for failure in failures:
        print("FAIL " + failure)
    print("%d cases, %d failures" % (len(CASES) + 3, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
