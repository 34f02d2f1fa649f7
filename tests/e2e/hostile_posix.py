"""The POSIX setup, run as an administrator, against host folders set up by someone who wants it to
write elsewhere: links, hard links, FIFOs, a read-only run record, a very long name, a killed copy
and a watcher that swaps new names in the target folder for links while the setup runs; links on
the way to a target made by the ordinary user who owns the data folder, and a watcher of theirs
that swaps a folder the setup has just created; a follow-up program planted in the current
folder; SETUP.INF swapped for a FIFO, or made huge; and the permissions of installed files. An
administrator's own links (a data folder on another disk) must keep working.

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
from layout import run_native_cases_as_root  # noqa: E402

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
        """Every name below the outside folder, with what it is and holds."""
        state = {}
        for folder, folders, names in os.walk(self.outside):
            for name in sorted(folders + names):
                path = os.path.join(folder, name)
                st = os.lstat(path)
                digest = hashlib.sha256(open(path, "rb").read()).hexdigest() if stat.S_ISREG(
                    st.st_mode) else ""
                state[os.path.relpath(path, self.outside)] = (st.st_mode, st.st_nlink,
                                                              st.st_size, digest)
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


def as_nobody():
    os.setgid(NOBODY)
    os.setuid(NOBODY)


def set_inf(host, lines):
    write(os.path.join(host.package, "SETUP.INF"), ("\r\n".join(lines) + "\r\n").encode())


DATA_BLOCKS = ["[Installation]", "Bezeichnung=" + TITLE,
               "[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Programm.exe",
               "[Block2]", "Section=GENERAL-Directories", "Pfad=DataDir",
               "Subdir=Vorlagen\\Standard", "File1=Brief.dot"]


def data_host():
    """The worked example's two data blocks: the program folder below DataDir and a template
    folder created below it. The data folder belongs to an ordinary user (nobody); the folder
    outside holds root's own files, a run record among them."""
    host = Host({})
    set_inf(host, DATA_BLOCKS)
    write(os.path.join(host.package, "Programm.exe"), b"new program")
    write(os.path.join(host.package, "Brief.dot"), b"new template")
    host.data = os.path.join(host.root, "Daten")
    os.chmod(host.root, 0o755)
    for folder, _, names in os.walk(host.data):
        os.chown(folder, NOBODY, NOBODY)
        for name in names:
            os.chown(os.path.join(folder, name), NOBODY, NOBODY)
    write(os.path.join(host.outside, "Update.inf"), b"root's record")
    write(os.path.join(host.outside, "Programm.exe"), b"root's program")
    return host


def foreign_link(target, link):
    os.symlink(target, link)
    os.lchown(link, NOBODY, NOBODY)


def link_case(prepare):
    """A link that the data folder's owner placed on the way to a target (prepared by
    `prepare(host)`): the entry fails with 62008 and nothing outside is created or written."""

    def run(setup, cat):
        host = data_host()
        failures = []
        try:
            prepare(host)
            before = host.outside_state()
            result = host.run(setup)
            if not shown(catalogue.format_message(cat[62008], "").split("\r\n")[0], result):
                failures.append("no copy failure shown")
            if shown(cat[62009], result):
                failures.append("success shown")
            if host.outside_state() != before:
                failures.append("outside changed: %s" % sorted(os.listdir(host.outside)))
        finally:
            host.remove()
        return failures

    return run


def templates_linked(host):
    vorlagen = os.path.join(host.data, "Vorlagen")
    os.rename(vorlagen, vorlagen + ".alt") if os.path.exists(vorlagen) else None
    foreign_link(host.outside, vorlagen)


def program_folder_linked(host):
    program = os.path.join(host.data, "Client", "program")
    shutil.rmtree(program)
    foreign_link(host.outside, program)


def client_folder_linked(host):
    """The run record's own check looks at Update.inf; the link is one level above it."""
    client = os.path.join(host.data, "Client")
    shutil.rmtree(client)
    os.makedirs(os.path.join(host.outside, "program"))
    write(os.path.join(host.outside, "program", "Update.inf"), b"root's record")
    foreign_link(host.outside, client)


def case_administrators_link(setup, cat):
    """The data folder lies on another disk, reached through root's link in root's folder: the
    whole installation goes there, the run record included."""
    host = data_host()
    failures = []
    try:
        disk = os.path.join(host.root, "disk")
        os.makedirs(disk)
        os.rename(host.data, os.path.join(disk, "Daten"))
        os.symlink(os.path.join(disk, "Daten"), host.data)
        result = host.run(setup)
        if not shown(cat[62009], result):
            failures.append("no success message: %r" % result.stdout[-300:])
        placed = os.path.join(disk, "Daten")
        for path, content in [("Client/program/Programm.exe", b"new program"),
                              ("Vorlagen/Standard/Brief.dot", b"new template"),
                              ("Client/program/Update.inf", ("  " + TITLE).encode())]:
            full = os.path.join(placed, path)
            if not os.path.isfile(full) or read(full) != content:
                failures.append("%s not installed through the administrator's link" % path)
    finally:
        host.remove()
    return failures


FOLDER_WATCHER = r"""
import ctypes, os, struct, sys
data, outside, ready, stop, log = sys.argv[1:6]
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
IN_CREATE, IN_ISDIR = 0x100, 0x40000000
libc.inotify_add_watch(fd, data.encode(), IN_CREATE)
open(ready, "w").close()
os.set_blocking(fd, False)
import select
while not os.path.exists(stop):
    if not select.select([fd], [], [], 0.05)[0]:
        continue
    buffer = os.read(fd, 4096)
    at = 0
    while at < len(buffer):
        wd, mask, cookie, length = struct.unpack_from("iIII", buffer, at)
        name = buffer[at + 16:at + 16 + length].rstrip(b"\0").decode()
        at += 16 + length
        if mask & IN_ISDIR and name == "Vorlagen":
            path = os.path.join(data, name)
            try:
                os.rename(path, path + ".weg")
                os.symlink(outside, path)
                with open(log, "a") as f:
                    f.write("swapped\n")
            except OSError:
                pass
"""


def case_folder_watcher(setup, cat):
    """The data folder's owner watches for the template folder the setup creates and swaps it for
    a link to root's folder at once, before the setup goes on below it; three runs."""
    failures = []
    swaps = 0
    for _ in range(3):
        host = data_host()
        stop = os.path.join(host.root, "stop")
        ready = os.path.join(host.root, "ready")
        log = os.path.join(host.root, "swaps")
        write(log, b"")
        os.chmod(log, 0o666)
        os.chmod(host.root, 0o777)  # for the watcher's ready file; the setup's folders are below
        try:
            shutil.rmtree(os.path.join(host.data, "Vorlagen"), ignore_errors=True)
            before = host.outside_state()
            watcher = subprocess.Popen([system_python(), "-c", FOLDER_WATCHER, host.data,
                                        host.outside, ready, stop, log], preexec_fn=as_nobody)
            deadline = time.time() + ANSWER_WITHIN
            while not os.path.exists(ready) and watcher.poll() is None and time.time() < deadline:
                time.sleep(0.05)
            try:
                host.run(setup)
            finally:
                write(stop, b"")
                watcher.wait(timeout=ANSWER_WITHIN)
            swaps += read(log).count(b"swapped")
            if host.outside_state() != before:
                failures.append("outside changed: %s" % sorted(os.listdir(host.outside)))
        finally:
            host.remove()
    if swaps == 0:
        failures.append("the watcher swapped nothing: the case proves nothing")
    return failures


def case_planted_program(setup, cat):
    """EXEFile1=Tools\\Nach /q: the package's Tools/Nach runs, not one planted in the current
    folder, and without a planted one the package's still runs."""
    host = Host({"a.dll": b"new a"})
    failures = []
    try:
        set_inf(host, ["[Installation]", "Bezeichnung=" + TITLE, "EXEFile1=Tools\\Nach /q",
                       "[Block1]", "Section=Dirs", "Pfad=Ziel", "File1=a.dll"])
        ran = os.path.join(host.root, "ran")
        for folder, who in [(host.package, "package"), (host.root, "planted")]:
            os.makedirs(os.path.join(folder, "Tools"))
            write(os.path.join(folder, "Tools", "Nach"),
                  ("#!/bin/sh\necho %s \"$@\" >> '%s'\n" % (who, ran)).encode())
            os.chmod(os.path.join(folder, "Tools", "Nach"), 0o755)
        for planted in (True, False):
            if not planted:
                shutil.rmtree(os.path.join(host.root, "Tools"))
            write(ran, b"")
            result = host.run(setup)  # its current folder is host.root
            if not shown(cat[62009], result):
                failures.append("no success message (planted %s)" % planted)
            if read(ran) != b"package /q\n":
                failures.append("planted %s: ran %r" % (planted, read(ran)))
    finally:
        host.remove()
    return failures


FIFO_SWAPPER = r"""
import ctypes, os, sys
inf, stop = sys.argv[1:3]
fifo = inf + ".fifo"
os.mkfifo(fifo)
libc = ctypes.CDLL(None, use_errno=True)
AT_FDCWD, RENAME_EXCHANGE = -100, 2
a, b = inf.encode(), fifo.encode()
# Each call swaps the two names in one step, as fast as the system allows.
while not os.path.exists(stop):
    for _ in range(1000):
        libc.renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE)
"""


def case_setup_inf_swapped_for_fifo(setup, cat):
    """SETUP.INF swapped for a FIFO and back without pause while the setup and the package check
    read it, between a look at the name and the open: every run answers (a hang fails by the
    time-out)."""
    host = Host({"a.dll": b"new a"})
    failures = []
    stop = os.path.join(host.root, "stop")
    check = os.path.join(os.path.dirname(os.path.dirname(setup)), "check", "setupcheck")
    try:
        swapper = subprocess.Popen([sys.executable, "-c", FIFO_SWAPPER,
                                    os.path.join(host.package, "SETUP.INF"), stop])
        try:
            time.sleep(0.2)
            for _ in range(40):
                host.run(setup)
                subprocess.run([check, host.package], capture_output=True, timeout=ANSWER_WITHIN)
        finally:
            write(stop, b"")
            swapper.wait(timeout=ANSWER_WITHIN)
    finally:
        host.remove()
    return failures


def case_sparse_giant_setup_inf(setup, cat):
    """A SETUP.INF of 512 MiB that takes 4 KiB on disk, under a memory limit of 1 GiB: the setup
    says its configuration is invalid (62000) and ends normally."""
    host = Host({"a.dll": b"new a"})
    failures = []
    try:
        inf = os.path.join(host.package, "SETUP.INF")
        os.truncate(inf, 512 << 20)
        shutil.copy(setup, host.package)

        def limit():
            resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))

        result = subprocess.run([os.path.join(host.package, "setup")], input=b"b\n",
                                capture_output=True, env=host.env, timeout=ANSWER_WITHIN,
                                cwd=host.root, preexec_fn=limit)
        if result.returncode < 0:
            failures.append("the setup ended by signal %d" % -result.returncode)
        if not shown(cat[62000].split("\r\n")[0], result):
            failures.append("62000 not shown: %r" % result.stdout[-300:])
    finally:
        host.remove()
    return failures


def case_modes_and_owners(setup, cat):
    """A program file owned root:50 with mode 0640, replaced from a payload of mode 0666, stays
    root:50 0640; a new file from that payload gets 0644 and belongs to root."""
    host = Host({"ersetzt.dll": b"new", "neu.dll": b"new"})
    failures = []
    try:
        for name in host.files:
            os.chmod(os.path.join(host.package, name), 0o666)
        replaced = os.path.join(host.target, "ersetzt.dll")
        write(replaced, b"old")
        os.chown(replaced, 0, 50)
        os.chmod(replaced, 0o640)
        result = host.run(setup)
        if not shown(cat[62009], result):
            failures.append("no success message")
        check_installed(host, failures)
        for name, expected in [("ersetzt.dll", (0o640, 0, 50)), ("neu.dll", (0o644, 0, 0))]:
            st = os.stat(os.path.join(host.target, name))
            got = (stat.S_IMODE(st.st_mode), st.st_uid, st.st_gid)
            if got != expected:
                failures.append("%s: mode, owner, group %s, expected %s"
                                % (name, (oct(got[0]),) + got[1:], (oct(expected[0]),) + expected[1:]))
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
    ("the template folder a user's link", link_case(templates_linked)),
    ("the program folder a user's link", link_case(program_folder_linked)),
    ("the run record's folder's parent a user's link", link_case(client_folder_linked)),
    ("the data folder root's link to another disk", case_administrators_link),
    ("a watcher swapping a created folder for a link", case_folder_watcher),
    ("a follow-up program planted in the current folder", case_planted_program),
    ("SETUP.INF swapped for a FIFO", case_setup_inf_swapped_for_fifo),
    ("a sparse 512 MiB SETUP.INF under a memory limit", case_sparse_giant_setup_inf),
    ("modes and owners of replaced and new files", case_modes_and_owners),
]


def main():
    return run_native_cases_as_root(sys.argv[1], CASES, catalogue, ANSWER_WITHIN)


if __name__ == "__main__":
    sys.exit(main())
