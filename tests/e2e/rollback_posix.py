"""The POSIX setup, run as an administrator, when its copy pass cannot finish: a payload file
missing at file 7 of 12, a file system that fills up midway, a kill at random points of a long
pass, a record or backup planted or swapped by another user, and a second setup started while
the first asks a question. Afterwards the installation must be exactly the old one (or, after a
complete run, exactly the new one), with nothing left beside the targets and no record.

Usage: rollback_posix.py <native build folder>"""

import hashlib
import os
import random
import select
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
ANSWER_WITHIN = 60
NOBODY = 65534
OLD_TIME = 1000000000  # 2001: a replaced file that comes back must come back with this time
KILL_POINTS = 30
KILLS_IN_THE_PASS = 20  # of them at least, else the case proves too little


class Host:
    """A package, a host installation with a target folder, a state folder and a folder outside
    that must never change. `files` maps a name to (new content or None for a missing payload,
    old content or None for a new file)."""

    def __init__(self, files, subdir_files=None):
        self.root = tempfile.mkdtemp(prefix="quarnel-rollback-")
        self.package = os.path.join(self.root, "package")
        self.program = os.path.join(self.root, "Daten", "Client", "program")
        self.target = os.path.join(self.root, "ziel")
        self.outside = os.path.join(self.root, "outside")
        self.state = os.path.join(self.root, "state")
        self.record = os.path.join(self.program, "Update.inf")
        for folder in (self.package, self.program, self.target, self.outside):
            os.makedirs(folder)
        windows = os.path.join(self.root, "windows")
        os.makedirs(windows)
        with open(os.path.join(windows, "TALMORIX.INI"), "wb") as f:
            f.write(("[GENERAL-Directories]\r\nDataDir=%s\r\n[Dirs]\r\nZiel=%s\r\n"
                     % (os.path.join(self.root, "Daten"), self.target)).encode())
        self.env = dict(os.environ, QUARNEL_WINDIR=windows, QUARNEL_STATEDIR=self.state)
        self.files = files
        self.subdir_files = subdir_files or {}
        lines = ["[Installation]", "Bezeichnung=" + TITLE]
        block = 1
        if self.subdir_files:
            # Made by the pass: a rollback removes the folders again.
            lines += ["[Block1]", "Section=Dirs", "Pfad=Ziel", "Subdir=Neu\\Tief"]
            lines += ["File%d=%s" % (i + 1, n) for i, n in enumerate(self.subdir_files)]
            block = 2
        lines += ["[Block%d]" % block, "Section=Dirs", "Pfad=Ziel"]
        lines += ["File%d=%s" % (i + 1, name) for i, name in enumerate(files)]
        write(os.path.join(self.package, "SETUP.INF"), ("\r\n".join(lines) + "\r\n").encode())
        for name, content in self.subdir_files.items():
            write(os.path.join(self.package, name), content)
        for name, (new, old) in files.items():
            if new is not None:
                write(os.path.join(self.package, name), new)
        write(self.record, OLD_RECORD)
        write(os.path.join(self.outside, "protected"), b"protected system file")

    def lay_old_files(self):
        for name, (_, old) in self.files.items():
            if old is not None:
                path = os.path.join(self.target, name)
                write(path, old)
                os.chmod(path, 0o640)
                os.utime(path, (OLD_TIME, OLD_TIME))

    def start(self, setup, keys=b"i\n"):
        shutil.copy(setup, self.package)
        process = subprocess.Popen([os.path.join(self.package, "setup")], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=self.env,
                                   cwd=self.root)
        if keys:
            process.stdin.write(keys)
            process.stdin.flush()
        return process

    def run(self, setup, keys=b"i\n"):
        shutil.copy(setup, self.package)
        return subprocess.run([os.path.join(self.package, "setup")], input=keys,
                              capture_output=True, env=self.env, timeout=ANSWER_WITHIN,
                              cwd=self.root)

    def remove(self):
        subprocess.run(["umount", self.target], capture_output=True)
        shutil.rmtree(self.root, ignore_errors=True)


def write(path, content):
    with open(path, "wb") as f:
        f.write(content)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(folder):
    """Every name below `folder` with its type, content, modification time, mode and owner."""
    state = {}
    for base, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(base, name)
            st = os.lstat(path)
            digest = hashlib.sha256(read(path)).hexdigest() if stat.S_ISREG(st.st_mode) else ""
            state[os.path.relpath(path, folder)] = (stat.S_IFMT(st.st_mode), digest,
                                                    st.st_mtime_ns if stat.S_ISREG(st.st_mode)
                                                    else 0, st.st_mode, st.st_uid, st.st_gid)
    return state


def shown(text, output):
    return text.replace("\r\n", "\n") in output.decode("utf-8", "replace")


def differences(before, after):
    changed = sorted(set(before) ^ set(after)) + sorted(
        n for n in set(before) & set(after) if before[n] != after[n])
    return changed


def expect_old(host, before, failures, what):
    """The installation is the old one: every target as it was, nothing beside it, no record."""
    changed = differences(before, snapshot(host.target))
    if changed:
        failures.append("%s: the target folder differs from the old one in %s" % (what, changed))
    if read(host.record) != OLD_RECORD:
        failures.append("%s: Update.inf was rewritten" % what)
    expect_no_record(host, failures, what)


def expect_no_record(host, failures, what):
    left = [n for n in os.listdir(host.state) if n != "lock"] if os.path.isdir(host.state) else []
    if left:
        failures.append("%s: the state folder still holds %s" % (what, left))


def expect_new(host, failures, what):
    for name, (new, _) in host.files.items():
        path = os.path.join(host.target, name)
        if not os.path.isfile(path) or read(path) != new:
            failures.append("%s: %s does not hold the payload" % (what, name))
    names = set(os.listdir(host.target))
    if names != set(host.files):
        failures.append("%s: the target folder holds %s" % (what, sorted(names - set(host.files))))
    expect_no_record(host, failures, what)


def twelve_files():
    """Files 1 to 12; file 7's payload is missing. Odd files replace old ones, even ones are new."""
    files = {}
    for i in range(1, 13):
        new = None if i == 7 else b"new %d " % i * 500
        old = b"old %d" % i if i % 2 else None
        files["f%02d.dll" % i] = (new, old)
    return files


def case_missing_payload(setup, cat):
    host = Host(twelve_files(), {"brief.dot": b"new template"})
    failures = []
    try:
        host.lay_old_files()
        before = snapshot(host.target)
        result = host.run(setup)
        if not shown(cat[62008].split("%1")[0], result.stdout) or b"f07.dll" not in result.stdout:
            failures.append("62008 for f07.dll not shown")
        expect_old(host, before, failures, "after the failed pass")
    finally:
        host.remove()
    return failures


def case_full_file_system(setup, cat):
    files = {"g%02d.bin" % i: (os.urandom(512 << 10), b"old %d" % i) for i in range(1, 9)}
    host = Host(files)
    failures = []
    try:
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=2m", "tmpfs", host.target],
                                 capture_output=True)
        if mounted.returncode != 0:
            if os.environ.get("QUARNEL_REQUIRE_INPUTS") == "1":
                return ["cannot mount a small tmpfs: %s" % mounted.stderr.decode().strip()]
            print("     (skipped: cannot mount a small tmpfs here)")
            return []
        host.lay_old_files()
        before = snapshot(host.target)
        result = host.run(setup)
        if not shown(cat[62008].split("%1")[0], result.stdout):
            failures.append("62008 not shown: the file system did not fill up")
        expect_old(host, before, failures, "after the file system filled up")
    finally:
        host.remove()
    return failures


def long_pass_files():
    return {"k%03d.bin" % i: (os.urandom(96 << 10), (b"old %d" % i) if i % 2 else None)
            for i in range(300)}


def case_killed_at_random_points(setup, cat):
    failures = []
    payload = long_pass_files()
    # How long the pass takes, from its record's appearance to the run's end, so that the kills
    # fall across it.
    host = Host(payload)
    try:
        host.lay_old_files()
        process = host.start(setup)
        wait_for_record(host, process)
        start = time.time()
        out, _ = process.communicate(timeout=ANSWER_WITHIN)
        duration = time.time() - start
        if not shown(cat[62009], out):
            return ["the uninterrupted run did not succeed"]
    finally:
        host.remove()
    rng = random.Random(21)
    rolled_back = 0
    point = 0
    # Kills that came after the pass ended prove little: the points go on until enough fell into
    # it (a busy machine stretches the pass unevenly).
    while point < KILL_POINTS or (rolled_back < KILLS_IN_THE_PASS and point < 3 * KILL_POINTS):
        point += 1
        host = Host(payload)
        try:
            host.lay_old_files()
            before = snapshot(host.target)
            process = host.start(setup)
            wait_for_record(host, process)
            delay = rng.uniform(0.0, duration)
            time.sleep(delay)
            process.kill()
            process.communicate()
            # The next start of any setup undoes the killed pass before it looks at anything.
            host.run(setup, keys=b"")
            what = "killed %.3f s into the pass (point %d)" % (delay, point)
            complete = all(os.path.isfile(os.path.join(host.target, n)) and
                           read(os.path.join(host.target, n)) == new for n, (new, _) in
                           payload.items())
            if complete:
                expect_new(host, failures, what)  # the kill came after the pass was committed
            else:
                rolled_back += 1
                expect_old(host, before, failures, what)
        finally:
            host.remove()
    if rolled_back < KILLS_IN_THE_PASS:
        failures.append("only %d kills fell into the pass" % rolled_back)
    return failures


def wait_for_record(host, process):
    """Until the pass's record appears (or the setup ends)."""
    record = os.path.join(host.state, "pass")
    deadline = time.time() + ANSWER_WITHIN
    while not os.path.exists(record) and process.poll() is None and time.time() < deadline:
        time.sleep(0.001)


def kill_after_first_backup(host, setup):
    """Starts the setup and kills it once the pass has kept its first backup (stopped at once,
    so that nothing moves on); returns the private folder's path."""
    process = host.start(setup)
    deadline = time.time() + ANSWER_WITHIN
    private = None
    while time.time() < deadline and process.poll() is None:
        for name in os.listdir(host.target):
            if name.startswith(".~qz") and os.path.isdir(os.path.join(host.target, name)):
                folder = os.path.join(host.target, name)
                try:
                    if any(n.startswith("b") for n in os.listdir(folder)):
                        private = folder
                except OSError:
                    pass
        if private:
            break
    process.send_signal(signal.SIGSTOP)
    return process, private


def as_nobody():
    os.setgid(NOBODY)
    os.setuid(NOBODY)


def case_swapped_backup(setup, cat):
    """While the killed run's backups wait for the next start, the backup inside the private
    folder is exchanged for another file, and then the whole private folder for one that holds a
    planted file: neither is ever put in a target's place."""
    failures = []
    for swap in ("backup", "folder"):
        host = Host(long_pass_files())
        try:
            host.lay_old_files()
            process, private = kill_after_first_backup(host, setup)
            if not private:
                process.kill()
                failures.append("%s: the pass kept no backup" % swap)
                continue
            if swap == "backup":
                # The kept files are moved out (so that no new file can take over their inode
                # numbers) and others put in their place.
                kept = os.path.join(host.root, "kept")
                os.mkdir(kept)
                for name in os.listdir(private):
                    if name.startswith("b"):
                        path = os.path.join(private, name)
                        os.rename(path, os.path.join(kept, name))
                        write(path, b"evil")
            else:
                # The ordinary user who owns the target folder swaps the private folder for one
                # of their own, holding files of the backups' names.
                os.chmod(host.root, 0o755)
                os.chown(host.target, NOBODY, NOBODY)
                subprocess.run(["sh", "-c", 'mv "$1" "$1.weg" && mkdir -m 700 "$1" && '
                                'printf evil > "$1/b0" && printf evil > "$1/b1"', "sh", private],
                               check=True, preexec_fn=as_nobody)
            process.kill()
            process.communicate()
            host.run(setup, keys=b"")
            for name in os.listdir(host.target):
                path = os.path.join(host.target, name)
                if os.path.isfile(path) and read(path) == b"evil":
                    failures.append("%s: the planted file became %s" % (swap, name))
            expect_no_record(host, failures, swap)
        finally:
            host.remove()
    return failures


def record_line(kind, *fields):
    return (kind + " " + " ".join(str(f) for f in fields) + "\n").encode()


def identity(path):
    st = os.lstat(path)
    return "%x %x" % (st.st_dev, st.st_ino)


def planted_record(host):
    """A record naming, as the backup of f01.dll, a file another user put into a private folder
    of their own beside it, and as a file the pass created, the protected file outside."""
    os.chown(host.target, NOBODY, NOBODY)
    private = os.path.join(host.target, ".~qzp0")
    os.mkdir(private, 0o700)
    write(os.path.join(private, "b0"), b"evil")
    os.chown(os.path.join(private, "b0"), NOBODY, NOBODY)
    os.chown(private, NOBODY, NOBODY)
    return (b"quarnel-setup pass record 1\n"
            + record_line("F", identity(host.target), host.target)
            + record_line("p", 0, ".~qzp0")
            + record_line("P", 0, identity(private), ".~qzp0")
            + record_line("T", 0, 0, identity(os.path.join(private, "b0")), "f01.dll")
            + record_line("F", identity(host.outside), host.outside)
            + record_line("N", 1, identity(os.path.join(host.outside, "protected")),
                          "protected"))


def case_planted_record(setup, cat):
    """Records another user could have written (the state folder writable by others, a link in
    its place, a record with a second name) are refused with 62016; one in the proper place that
    names another user's files as backups moves none of them."""
    failures = []
    for variant in ("state folder writable by others", "state folder a link",
                    "record with a second name", "backup folder of another user"):
        host = Host({"f01.dll": (b"new", b"old"), "f02.dll": (b"new 2", None)})
        try:
            host.lay_old_files()
            text = planted_record(host)
            if variant == "state folder a link":
                elsewhere = os.path.join(host.root, "elsewhere")
                os.mkdir(elsewhere, 0o700)
                write(os.path.join(elsewhere, "pass"), text)
                os.symlink(elsewhere, host.state)
            else:
                os.mkdir(host.state, 0o700)
                write(os.path.join(host.state, "pass"), text)
                if variant == "state folder writable by others":
                    os.chmod(host.state, 0o777)
                elif variant == "record with a second name":
                    os.link(os.path.join(host.state, "pass"), os.path.join(host.root, "mine"))
            before = snapshot(host.target)
            outside = snapshot(host.outside)
            result = host.run(setup, keys=b"")
            if variant == "backup folder of another user":
                if shown(cat[62016], result.stdout):
                    failures.append("%s: refused instead of ignored" % variant)
            elif not shown(cat[62016], result.stdout):
                failures.append("%s: 62016 not shown" % variant)
            if differences(before, snapshot(host.target)):
                failures.append("%s: the target folder changed" % variant)
            if differences(outside, snapshot(host.outside)):
                failures.append("%s: a file outside changed" % variant)
        finally:
            host.remove()
    return failures


def read_until(process, text, within):
    """What the setup printed until `text` appeared (or the time ran out)."""
    seen = b""
    deadline = time.time() + within
    while text not in seen.decode("utf-8", "replace") and time.time() < deadline:
        ready, _, _ = select.select([process.stdout], [], [], 0.1)
        if ready:
            chunk = os.read(process.stdout.fileno(), 65536)
            if not chunk:
                break
            seen += chunk
    return seen


def case_second_setup_during_a_question(setup, cat):
    """While the first setup waits for the answer to a question, a second one refuses at once
    with 62014 and changes nothing; the first then finishes."""
    fixtures = os.path.join(os.path.dirname(setup), "..", "fixtures", "pe")
    host = Host({"Basis.dll": (read(os.path.join(fixtures, "de_5.0.9.0.dll")), None),
                 "Neu.dll": (b"new", None)})
    failures = []
    try:
        inf = os.path.join(host.package, "SETUP.INF")
        write(inf, read(inf).replace(b"File1=Basis.dll", b"File1=Basis.dll;VERSION"))
        shutil.copy(os.path.join(fixtures, "de_5.0.10.0.dll"), os.path.join(host.target,
                                                                         "Basis.dll"))
        first = host.start(setup)
        question = cat[62011].split("%1")[0].split("\r\n")[0]
        if question not in read_until(first, question, ANSWER_WITHIN).decode("utf-8", "replace"):
            first.kill()
            return ["the first setup asked no question"]
        second_package = os.path.join(host.root, "second")
        shutil.copytree(host.package, second_package)
        before = snapshot(host.target)
        second = subprocess.run([os.path.join(second_package, "setup")], input=b"i\n",
                                capture_output=True, env=host.env, timeout=ANSWER_WITHIN)
        if not shown(cat[62014], second.stdout):
            failures.append("the second setup did not say that another one runs")
        if differences(before, snapshot(host.target)):
            failures.append("the second setup changed the target folder")
        first.stdin.write(b"j\n")
        first.stdin.close()
        rest = read_until(first, cat[62009].replace("\r\n", "\n"), ANSWER_WITHIN)
        first.wait(timeout=ANSWER_WITHIN)
        if not shown(cat[62009], rest):
            failures.append("the first setup did not finish")
        if read(os.path.join(host.target, "Neu.dll")) != b"new":
            failures.append("the first setup did not copy")
    finally:
        host.remove()
    return failures


CASES = [
    ("a missing payload at file 7 of 12", case_missing_payload),
    ("a file system that fills up midway", case_full_file_system),
    ("killed at %d random points of a long pass" % KILL_POINTS, case_killed_at_random_points),
    ("a backup or its folder swapped after a kill", case_swapped_backup),
    ("planted records", case_planted_record),
    ("a second setup during a question of the first", case_second_setup_during_a_question),
]


def main():
    return run_native_cases_as_root(sys.argv[1], CASES, catalogue, ANSWER_WITHIN)


if __name__ == "__main__":
    sys.exit(main())
