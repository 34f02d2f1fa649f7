"""setup.exe under Wine when its copy pass cannot finish: a payload file missing at file 4 of 8, a
target that another program holds open without sharing, kills at random points of a long pass,
and a second setup started while the first asks a question. Afterwards the installation must be
exactly the old one (after a complete run, exactly the new one), with nothing beside the targets
and no record of the pass left.

Usage: rollback_wine.py <windows build folder>; WINEPREFIX and DISPLAY set up as for run_wine.py."""

import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from layout import run_scenarios, wine_host  # noqa: E402
from run_wine import parse, text  # noqa: E402

TITLE = "Quarnel ZTR Hotfix 3"
OLD_RECORD = b"  Quarnel ZTR Hotfix 2"
OLD_TIME = 1000000000
ANSWER_SECONDS = 120
KILL_POINTS = 22
KILLS_IN_THE_PASS = 20


class Host:
    """A package on drive D: of the prefix and a host installation whose program folder holds
    the targets. `files` maps a name to (new content or None for a missing payload, old content
    or None for a new file)."""

    def __init__(self, build, files, subdir_files=None, extra_inf=()):
        self.build = build
        self.prefix = os.environ["WINEPREFIX"]
        self.root = tempfile.mkdtemp(prefix="quarnel-rollback-")
        self.roots = wine_host(self.prefix, self.root)
        self.package = os.path.join(self.root, "package")
        self.program = os.path.join(self.roots["DATA"], "Client", "program")
        self.state = os.path.join(self.roots["WIN"], "Quarnel Setup")
        self.ini = os.path.join(self.roots["WIN"], "TALMORIX.INI")
        os.makedirs(self.package)
        os.makedirs(self.program)
        write(self.ini, b"[GENERAL-Directories]\r\nDataDir=D:\\Daten\r\n")
        self.files = files
        lines = ["[Installation]", "Bezeichnung=" + TITLE, *extra_inf]
        block = 1
        if subdir_files:
            lines += ["[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir",
                      "Subdir=Neu\\Tief"]
            lines += ["File%d=%s" % (i + 1, n) for i, n in enumerate(subdir_files)]
            for name, content in subdir_files.items():
                write(os.path.join(self.package, name), content)
            block = 2
        lines += ["[Block%d]" % block, "Section=GENERAL-Directories", "Pfad=ProgDir"]
        lines += ["File%d=%s" % (i + 1, name) for i, name in enumerate(files)]
        write(os.path.join(self.package, "SETUP.INF"), ("\r\n".join(lines) + "\r\n").encode())
        for name, (new, old) in files.items():
            if new is not None:
                write(os.path.join(self.package, name), new)
            if old is not None:
                path = os.path.join(self.program, name)
                write(path, old)
                os.utime(path, (OLD_TIME, OLD_TIME))
        write(os.path.join(self.program, "Update.inf"), OLD_RECORD)
        shutil.copy(os.path.join(build, "setup", "setup.exe"), self.package)

    def driver(self, *actions, timeout=ANSWER_SECONDS, wait=True):
        command = ["wine", os.path.join(self.build, "tests", "e2e", "e2e_driver.exe"),
                   "D:\\package\\setup.exe", *actions]
        if not wait:
            return subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    text=True)
        result = subprocess.run(command, capture_output=True, text=True, timeout=timeout)
        return parse(result.stdout)

    def remove(self):
        if os.path.exists(self.ini):
            os.remove(self.ini)
        shutil.rmtree(self.root, ignore_errors=True)


def write(path, content):
    with open(path, "wb") as f:
        f.write(content)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(folder):
    state = {}
    for base, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(base, name)
            st = os.lstat(path)
            digest = hashlib.sha256(read(path)).hexdigest() if os.path.isfile(path) else "folder"
            state[os.path.relpath(path, folder)] = (digest, st.st_mtime_ns if
                                                    os.path.isfile(path) else 0)
    return state


def differences(before, after):
    return sorted(set(before) ^ set(after)) + sorted(
        n for n in set(before) & set(after) if before[n] != after[n])


def info_of(values):
    return text(values.get("state.info", ""))


def shows(values, cat, number, before_placeholder=True):
    expected = cat[number].split("%1")[0] if before_placeholder else cat[number]
    return info_of(values).startswith(expected)


def expect_old(host, before, failures, what):
    changed = differences(before, snapshot(host.program))
    if changed:
        failures.append("%s: the program folder differs from the old one in %s" % (what, changed))
    expect_no_record(host, failures, what)


def expect_no_record(host, failures, what):
    left = os.listdir(host.state) if os.path.isdir(host.state) else []
    if left:
        failures.append("%s: the state folder still holds %s" % (what, left))


def case_missing_payload(build, cat):
    files = {"f%02d.dll" % i: (None if i == 4 else b"new %d " % i * 300,
                               b"old %d" % i if i % 2 else None) for i in range(1, 9)}
    host = Host(build, files, {"Brief.dot": b"new template"})
    failures = []
    try:
        before = snapshot(host.program)
        values = host.driver("click:1", "waitend", "state")
        if not shows(values, cat, 62008) or "f04.dll" not in info_of(values):
            failures.append("62008 for f04.dll not shown: %r" % info_of(values))
        expect_old(host, before, failures, "after the failed pass")
    finally:
        host.remove()
    return failures


def case_target_held_open(build, cat):
    """File 5 of 8 is held open without sharing by another program: its copy fails, and files 1
    to 4, already replaced, come back."""
    files = {"g%02d.dll" % i: (b"new %d" % i, b"old %d" % i) for i in range(1, 9)}
    host = Host(build, files)
    failures = []
    holder = None
    try:
        before = snapshot(host.program)
        holder = subprocess.Popen(["wine", os.path.join(build, "tests", "e2e", "hold_open.exe"),
                                   "D:\\Daten\\Client\\program\\g05.dll"], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, text=True)
        if holder.stdout.readline().strip() != "held":
            return ["the file could not be held open"]
        values = host.driver("click:1", "waitend", "state")
        if not shows(values, cat, 62008) or "g05.dll" not in info_of(values):
            failures.append("62008 for g05.dll not shown: %r" % info_of(values))
        holder.stdin.close()
        holder.wait(timeout=ANSWER_SECONDS)
        holder = None
        expect_old(host, before, failures, "after the held file stopped the pass")
    finally:
        if holder:
            holder.kill()
        host.remove()
    return failures


def case_running_program_replaced(build, cat):
    """A target that runs as a program is replaced while it runs: the program goes on with the
    old file, the installation holds the new one."""
    driver = read(os.path.join(build, "tests", "e2e", "e2e_driver.exe"))
    host = Host(build, {"Laeuft.exe": (b"new program", driver), "Neu.dll": (b"new", None)})
    failures = []
    running = None
    try:
        running = subprocess.Popen(["wine", "D:\\Daten\\Client\\program\\Laeuft.exe", "sleep",
                                    "60000"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(5)
        if running.poll() is not None:
            return ["the program did not start"]
        values = host.driver("click:1", "waitend", "state")
        if not shows(values, cat, 62009, before_placeholder=False):
            failures.append("the run did not succeed: %r" % info_of(values))
        if read(os.path.join(host.program, "Laeuft.exe")) != b"new program":
            failures.append("the running program's file was not replaced")
        # The old file cannot go while the program runs from it: the next start after its end
        # removes it.
        running.kill()
        running.wait()
        running = None
        subprocess.run(["wineserver", "-w"], timeout=ANSWER_SECONDS)
        values = host.driver("state")
        if not shows(values, cat, 62001, before_placeholder=False):
            failures.append("the next start is not ready: %r" % info_of(values))
        leftovers = [n for n in os.listdir(host.program) if n.startswith((".~qz", "~qz"))]
        if leftovers:
            failures.append("left beside the targets after the next start: %r" % leftovers)
        expect_no_record(host, failures, "after the next start")
    finally:
        if running:
            running.kill()
            running.wait()
        host.remove()
    return failures


def case_killed_at_random_points(build, cat):
    """The driver ends the setup (TerminateProcess, as a kill) at random points of a long pass;
    the next start puts the old installation back before it shows anything."""
    payload = {"k%03d.bin" % i: (os.urandom(64 << 10), (b"old %d" % i) if i % 2 else None)
               for i in range(150)}
    failures = []
    # How long the pass takes: from its record's appearance to its disappearance.
    host = Host(build, payload)
    try:
        run = host.driver("click:1", "waitend", "state", wait=False)
        record = os.path.join(host.state, "pass")
        deadline = time.time() + ANSWER_SECONDS
        while not os.path.exists(record) and run.poll() is None and time.time() < deadline:
            time.sleep(0.005)
        start = time.time()
        while os.path.exists(record) and time.time() < deadline:
            time.sleep(0.005)
        duration = time.time() - start
        values = parse(run.communicate(timeout=ANSWER_SECONDS)[0])
        if not shows(values, cat, 62009, before_placeholder=False):
            return ["the uninterrupted run did not succeed: %r" % info_of(values)]
    finally:
        host.remove()
    print("     the pass takes %.2f s" % duration)
    rng = random.Random(21)
    rolled_back = point = 0
    while point < KILL_POINTS or (rolled_back < KILLS_IN_THE_PASS and point < 3 * KILL_POINTS):
        point += 1
        host = Host(build, payload)
        try:
            before = snapshot(host.program)
            # The pass starts a moment after the click; the kills spread over it.
            delay = int(rng.uniform(0.05, 1.0) * duration * 1000)
            host.driver("click:1", "sleep:%d" % delay)
            killed_in_pass = os.path.exists(os.path.join(host.state, "pass"))
            values = host.driver("state")
            what = "killed %d ms after the install command (point %d)" % (delay, point)
            if not shows(values, cat, 62001, before_placeholder=False):
                failures.append("%s: the next start is not ready: %r" % (what, info_of(values)))
            complete = all(os.path.isfile(os.path.join(host.program, n)) and
                           read(os.path.join(host.program, n)) == new
                           for n, (new, _) in payload.items())
            # A kill after the pass marked itself complete (while it removed its backups) is
            # finished by the next start, not undone: then every file is the new one.
            if complete:
                expect_no_record(host, failures, what)
                left = [n for n in os.listdir(host.program) if n.startswith(".~")]
                if left:
                    failures.append("%s: left beside the targets: %s" % (what, left))
            else:
                rolled_back += killed_in_pass
                expect_old(host, before, failures, what)
            outcome = "completed" if complete else "rolled back" if killed_in_pass else "before"
            print("     %s: %s" % (what, outcome))
        finally:
            host.remove()
    if rolled_back < KILLS_IN_THE_PASS:
        failures.append("only %d kills fell into the pass" % rolled_back)
    return failures


def case_second_setup_during_a_question(build, cat):
    """While the first setup asks whether to replace a newer file, a second one shows 62014 and
    changes nothing; the first, answered, then finishes."""
    fixtures = os.path.join(build, "fixtures", "pe")
    host = Host(build, {"Basis.dll": (read(os.path.join(fixtures, "de_5.0.9.0.dll")),
                                      read(os.path.join(fixtures, "de_5.0.10.0.dll"))),
                        "Neu.dll": (b"new", None)})
    failures = []
    first = None
    try:
        inf = os.path.join(host.package, "SETUP.INF")
        write(inf, read(inf).replace(b"File1=Basis.dll", b"File1=Basis.dll;VERSION"))
        first = host.driver("click:1", "sleep:15000", "answer:yes", "waitend", "state",
                            wait=False)
        record = os.path.join(host.state, "pass")
        deadline = time.time() + ANSWER_SECONDS
        while not os.path.exists(record) and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(1)
        before = snapshot(host.program)
        second = host.driver("state")
        if not shows(second, cat, 62014, before_placeholder=False):
            failures.append("the second setup shows %r" % info_of(second))
        if differences(before, snapshot(host.program)):
            failures.append("the second setup changed the program folder")
        out, _ = first.communicate(timeout=ANSWER_SECONDS)
        first = None
        values = parse(out)
        if not values["boxes"]:
            failures.append("the first setup asked no question")
        if not shows(values, cat, 62009, before_placeholder=False):
            failures.append("the first setup did not finish: %r" % info_of(values))
        if read(os.path.join(host.program, "Neu.dll")) != b"new":
            failures.append("the first setup did not copy")
        expect_no_record(host, failures, "after the first setup")
    finally:
        if first:
            first.kill()
        host.remove()
    return failures


class Case:
    def __init__(self, name, run):
        self.name = name
        self.run = run


CASES = [
    ("a missing payload at file 4 of 8", case_missing_payload),
    ("a target held open without sharing", case_target_held_open),
    ("a running program among the targets", case_running_program_replaced),
    ("killed at random points of a long pass", case_killed_at_random_points),
    ("a second setup during a question of the first", case_second_setup_during_a_question),
]


def main():
    build = os.path.abspath(sys.argv[1])
    cat = catalogue.read_strings(os.path.join(build, "setup", "setup.res"))
    only = os.environ.get("ROLLBACK_ONLY")

    def run_one(case):
        try:
            return case.run(build, cat)
        except subprocess.TimeoutExpired:
            subprocess.run(["wineserver", "-k"])
            return ["no answer within %d s" % ANSWER_SECONDS]

    return run_scenarios([Case(n, r) for n, r in CASES if not only or only in n], run_one)


if __name__ == "__main__":
    sys.exit(main())
