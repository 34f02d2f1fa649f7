"""The POSIX setup, run as an administrator, against host folders set up by someone who wants it to
write elsewhere: links, hard links, FIFOs, a read-only run record, a very long name, a killed copy
and a watcher that swaps new names in the target folder for links while the setup runs.

Every case checks that nothing outside the package's targets changed, that the setup answered
(a hang ends in the harness's time-out, a failure) and that no temporary is left.

Usage: hostile_posix.py <native build folder>"""

import hashlib
import os
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from layout import run_scenarios  # noqa: E402

TITLE = "Hotfix Probe"
OLD_RECORD = b"  Hotfix Probe 0"
ANSWER_WITHIN = 30  # seconds; a setup that waits on a FIFO fails here instead of hanging
NOBODY = 65534


class Host:
    """A package folder, a host installation and a folder outside both that must not change."""

    def __init__(self, files):
        self.root = tempfile.mkdtemp(prefix="quarnel-hostile-")
        self.package = os.path.join(self.root, "package")
        self.program = os.path.join(self.root, "Daten", "Client", "program")
        self.target = os.path.join(self.root, "ziel")
        self.outside = os.path.join(self.root, "outside")
        self.record = os.path.join(self.program, "Update.inf")
        for folder in (self.package, self.program, self.target, self.outside):
            os.makedirs(folder)
        windows = os.path.join(self.root, "windows")
        os.makedirs(windows)
        with open(os.path.join(windows, "TALMORIX.INI"), "wb") as f:
            f.write(("[GENERAL-Directories]\r\nDataDir=%s\r\n[Dirs]\r\nZiel=%s\r\n"
                     % (os.path.join(self.root, "Daten"), self.target)).encode())
        self.env = dict(os.environ, QUARNEL_WINDIR=windows)
        self.files = files
        lines = ["[Installation]", "Bezeichnung=" + TITLE, "[Block1]", "Section=Dirs", "Pfad=Ziel"]
        lines += ["File%d=%s" % (i + 1, name) for i, name in enumerate(files)]
        with open(os.path.join(self.package, "SETUP.INF"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode())
        for name, content in files.items():
            if content is not None:
                write(os.path.join(self.package, name), content)
        write(self.record, OLD_RECORD)
        write(os.path.join(self.outside, "protected"), b"protected system file")
        os.chmod(os.path.join(self.outside, "protected"), 0o444)

    def run(self, setup, limit=None):
        shutil.copy(setup, self.package)

        def limits():
            if limit:
                resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
                resource.setrlimit(resource.RLIMIT_CORE, (0, 0))

        return subprocess.run([os.path.join(self.package, "setup")], input=b"i\n",
                              capture_output=True, env=self.env, timeout=ANSWER_WITHIN,
                              cwd=self.root, preexec_fn=limits)

    def outside_state(self):
        state = {}
        for name in sorted(os.listdir(self.outside)):
            path = os.path.join(self.outside, name)
            st = os.lstat(path)
            digest = hashlib.sha256(open(path, "rb").read()).hexdigest() if stat.S_ISREG(
                st.st_mode) else ""
            state[name] = (st.st_mode, st.st_nlink, st.st_size, digest)
        return state

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def write(path, content):
    with open(path, "wb") as f:
        f.write(content)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def shown(text, result):
    return text.replace("\r\n", "\n") in result.stdout.decode("utf-8", "replace")


def check_installed(host, failures):
    for name, content in host.files.items():
        path = os.path.join(host.target, name)
        if os.path.islink(path) or not os.path.isfile(path):
            failures.append("%s is not a plain file" % name)
        elif content is not None and read(path) != content:
            failures.append("%s does not hold the payload" % name)


def only_expected(host, failures, extra=()):
    names = set(os.listdir(host.target))
    expected = set(host.files) | set(extra)
    if names != expected:
        failures.append("target folder holds %s, expected %s" % (sorted(names), sorted(expected)))


def case_target_link(setup, cat):
    host = Host({"a.dll": b"new a", "b.dll": b"new b"})
    failures = []
    try:
        os.symlink(os.path.join(host.outside, "protected"), os.path.join(host.target, "a.dll"))
        os.symlink(os.path.join(host.outside, "absent"), os.path.join(host.target, "b.dll"))
        before = host.outside_state()
        result = host.run(setup)
        if not shown(cat[62009], result):
            failures.append("no success message")
        check_installed(host, failures)
        only_expected(host, failures)
        if host.outside_state() != before:
            failures.append("a file outside changed")
    finally:
        host.remove()
    return failures


def record_case(prepare):
    """The run record prepared by `prepare(host)`: the setup still succeeds, and neither the
    record nor anything outside is written."""

    def run(setup, cat):
        host = Host({"a.dll": b"new a"})
        failures = []
        try:
            prepare(host)
            before = host.outside_state()
            record_before = os.lstat(host.record)
            result = host.run(setup)
            if not shown(cat[62009], result):
                failures.append("no success message")
            after = os.lstat(host.record)
            if (after.st_mode, after.st_ino, after.st_size) != (
                    record_before.st_mode, record_before.st_ino, record_before.st_size):
                failures.append("the run record changed")
            if stat.S_ISREG(after.st_mode) and read(host.record) != OLD_RECORD:
                failures.append("the run record was written")
            if host.outside_state() != before:
                failures.append("a file outside changed")
            check_installed(host, failures)
        finally:
            host.remove()
        return failures

    return run


def record_as_link(host):
    os.remove(host.record)
    os.symlink(os.path.join(host.outside, "protected"), host.record)
    os.chmod(os.path.join(host.outside, "protected"), 0o644)  # writable: only the link protects


def record_with_second_name(host):
    os.link(host.record, os.path.join(host.outside, "second name"))


def record_read_only(host):
    os.chmod(host.record, 0o444)


def record_as_fifo(host):
    os.remove(host.record)
    os.mkfifo(host.record)


def failing_case(prepare, name="a.dll"):
    """A source or target that is no regular file: 62008 at once, the old target as it was."""

    def run(setup, cat):
        host = Host({name: b"new"})
        failures = []
        try:
            prepare(host, name)
            before = host.outside_state()
            result = host.run(setup)
            if not shown(catalogue.format_message(cat[62008], "").split("\r\n")[0], result):
                failures.append("no copy failure shown")
            if read(host.record) != OLD_RECORD:
                failures.append("the run record was written after a failed copy")
            if host.outside_state() != before:
                failures.append("a file outside changed")
            if [n for n in os.listdir(host.target) if n != name]:
                failures.append("left in the target folder: %s" % os.listdir(host.target))
        finally:
            host.remove()
        return failures

    return run


def source_fifo(host, name):
    path = os.path.join(host.package, name)
    os.remove(path)
    os.mkfifo(path)


def target_fifo(host, name):
    os.mkfifo(os.path.join(host.target, name))


def case_long_name(setup, cat):
    name = "n" * 246 + ".dll"  # 250 bytes; the file system allows 255
    host = Host({name: b"long"})
    failures = []
    try:
        write(os.path.join(host.target, name), b"old")
        result = host.run(setup)
        if not shown(cat[62009], result):
            failures.append("no success message")
        check_installed(host, failures)
        only_expected(host, failures)
    finally:
        host.remove()
    return failures


def case_killed_copy(setup, cat):
    """A file-size limit far below the payload ends the first run by SIGXFSZ in the middle of the
    copy; the old file is whole, and a second run leaves only the expected files."""
    big = os.urandom(1 << 20) * 48
    host = Host({"klein.txt": b"small", "gross.bin": big})
    failures = []
    try:
        old = os.urandom(5000)
        write(os.path.join(host.target, "gross.bin"), old)
        first = host.run(setup, limit=8 << 20)
        if first.returncode != -signal.SIGXFSZ:
            failures.append("the first run was not ended by the limit: %d" % first.returncode)
        if read(os.path.join(host.target, "gross.bin")) != old:
            failures.append("the interrupted copy tore the old file")
        second = host.run(setup)
        if not shown(cat[62009], second):
            failures.append("the second run did not succeed")
        check_installed(host, failures)
        only_expected(host, failures)
    finally:
        host.remove()
    return failures


WATCHER = r"""
import os, sys, time
target, protected, outside_folder, stop, ready = sys.argv[1:6]
open(ready, "w").close()
seen = set(os.listdir(target))
while not os.path.exists(stop):
    for name in os.listdir(target):
        if name in seen:
            continue
        seen.add(name)
        path = os.path.join(target, name)
        try:
            moved = path + ".weg"
            os.rename(path, moved)
            seen.add(name + ".weg")
            link_to = outside_folder if os.path.isdir(moved) else protected
            os.symlink(link_to, path)
        except OSError:
            pass
"""


def system_python():
    """A Python that an ordinary user may start (ours may live in the administrator's home)."""
    for candidate in ("/usr/bin/python3", "/usr/local/bin/python3"):
        if os.access(candidate, os.X_OK):
            return candidate
    return sys.executable


def case_watcher(setup, cat):
    """An ordinary user who owns the target folder swaps every new name in it for a link (to a
    protected file, or to a folder outside for a folder) while the setup runs."""
    files = {"f%02d.dat" % i: os.urandom(1 << 20) for i in range(40)}
    host = Host(files)
    failures = []
    stop = os.path.join(host.root, "stop")
    ready = os.path.join(host.target, "ready")
    try:
        for name in files:
            write(os.path.join(host.target, name), b"old")
        os.chown(host.target, NOBODY, NOBODY)
        os.chmod(host.root, 0o755)
        before = host.outside_state()

        def as_nobody():
            os.setgid(NOBODY)
            os.setuid(NOBODY)

        watcher = subprocess.Popen([system_python(), "-c", WATCHER, host.target,
                                    os.path.join(host.outside, "protected"), host.outside, stop,
                                    ready], preexec_fn=as_nobody)
        deadline = time.time() + ANSWER_WITHIN
        while not os.path.exists(ready) and watcher.poll() is None and time.time() < deadline:
            time.sleep(0.05)
        try:
            result = host.run(setup)
        finally:
            write(stop, b"")
            watcher.wait(timeout=ANSWER_WITHIN)
        if not shown(cat[62009], result):
            failures.append("no success message")
        check_installed(host, failures)
        if host.outside_state() != before:
            failures.append("a file outside changed")
        swapped = [n for n in os.listdir(host.target) if n.endswith(".weg")]
        if not swapped:
            failures.append("the watcher swapped nothing: the case proves nothing")
        for name in swapped:
            path = os.path.join(host.target, name)
            if os.path.isdir(path) and os.listdir(path):
                failures.append("a private folder moved by the watcher is not empty")
    finally:
        host.remove()
    return failures


CASES = [
    ("a target that is a symbolic link", case_target_link),
    ("Update.inf a symbolic link", record_case(record_as_link)),
    ("Update.inf with a second hard link", record_case(record_with_second_name)),
    ("Update.inf read-only, run as root", record_case(record_read_only)),
    ("Update.inf a FIFO", record_case(record_as_fifo)),
    ("a FIFO as source", failing_case(source_fifo)),
    ("a FIFO as target", failing_case(target_fifo)),
    ("a 250-byte file name", case_long_name),
    ("a copy killed midway, then a second run", case_killed_copy),
    ("a watcher swapping new names for links", case_watcher),
]


class Case:
    def __init__(self, name, run):
        self.name = name
        self.run = run


def main():
    if os.geteuid() != 0:
        print("skipped: these cases run the setup as an administrator (root)")
        return 1 if os.environ.get("QUARNEL_REQUIRE_INPUTS") == "1" else 0
    native = os.path.abspath(sys.argv[1])
    setup = os.path.join(native, "setup", "setup")
    cat = catalogue.read_strings(os.path.join(native, "setup", "setup.res"))

    def run_one(case):
        try:
            return case.run(setup, cat)
        except subprocess.TimeoutExpired:
            return ["the setup did not answer within %d s" % ANSWER_WITHIN]

    return run_scenarios([Case(n, r) for n, r in CASES], run_one)


if __name__ == "__main__":
    sys.exit(main())
