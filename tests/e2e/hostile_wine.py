"""Hostile set-ups of the host folders against setup.exe under Wine, made from the POSIX side: links,
second names, FIFOs, a lying version block, a long name, a sparse giant SETUP.INF, a watcher that
swaps every new file for a link, and a copy killed midway. A link on the way to a target is not
among them: Wine shows a Windows program no Unix link, and follows it unseen (the walk's rules are
proven over their seam in the unit tests). Each run checks what the dialog shows, that the installation holds
no link and no temporary, and that no file outside the installation changed.

Usage: hostile_wine.py <windows build folder>; WINEPREFIX and DISPLAY set up as for run_wine.py.
HOSTILE_ONLY=<part of a name> runs only the set-ups whose name holds it."""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from layout import lay_out, real_path, remove_host, run_scenarios, wine_host  # noqa: E402
from run_wine import check_state, parse  # noqa: E402
from scenarios import (HEAD, IDS_COPY_FAILED, IDS_INVALID_CONFIG, IDS_NO_VERSION, IDS_SUCCESS,  # noqa: E402
                       OLD_RECORD, PROGRAM_DIR, TITLE, Payload, Scenario, inf, message,
                       pattern)

NEW_RECORD = b"  " + TITLE.encode("cp1252")
# The longest name that the path limit (260) leaves in D:\Daten\Client\program\.
LONG_NAME = "L" * (259 - len("D:\\Daten\\Client\\program\\") - 4) + ".dat"
# Within this time every run has its answer; a FIFO that is opened blockingly never gives one.
ANSWER_SECONDS = 90


def copies(*names):
    lines = ["[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir"]
    return inf(*HEAD, *lines, *["File%d=%s" % (i + 1, n) for i, n in enumerate(names)])


def success(setup_inf, **fields):
    return Scenario(fields.pop("name"), setup_inf=setup_inf, actions=["install"],
                    info=message(IDS_SUCCESS), progress=100, warning=False, **fields)


def failed(name, setup_inf, file, **fields):
    return Scenario(name, setup_inf=setup_inf, actions=["install"],
                    info=pattern(IDS_COPY_FAILED, p1=".*" + file.replace(".", "\\.")), **fields)


class Hostile:
    """A scenario, what is done to its folders before the run (`prepare(roots, package, outside)`),
    and a watcher that runs beside the setup (`watch(roots, outside, stop)`)."""

    def __init__(self, scenario, prepare=None, watch=None, kill_midway=False):
        self.scenario, self.prepare, self.watch = scenario, prepare, watch
        self.kill_midway = kill_midway
        self.name = scenario.name


def program(roots, name):
    return real_path(PROGRAM_DIR + name, roots)


def link_to_outside(name):
    def prepare(roots, package, outside):
        os.remove(program(roots, name))
        os.symlink(os.path.join(outside, "protected.txt"), program(roots, name))
    return prepare


def second_name(roots, package, outside):
    os.link(program(roots, "Update.inf"), os.path.join(outside, "Update-hardlink.inf"))


def read_only_record(roots, package, outside):
    os.chmod(program(roots, "Update.inf"), 0o444)


def fifo_in_package(roots, package, outside):
    os.remove(os.path.join(package, "Hilfe.chm"))
    os.mkfifo(os.path.join(package, "Hilfe.chm"))


def fifo_as_record(roots, package, outside):
    os.remove(program(roots, "Update.inf"))
    os.mkfifo(program(roots, "Update.inf"))


def lying_version_block(roots, package, outside):
    """The installed Programm.exe's version root claims far more than its resource holds."""
    path = program(roots, "Programm.exe")
    data = bytearray(open(path, "rb").read())
    at = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    data[at - 6:at - 4] = (0xFFF0).to_bytes(2, "little")
    open(path, "wb").write(data)


def long_name(roots, package, outside):
    shutil.copyfile(os.path.join(package, "Hilfe.chm"), os.path.join(package, LONG_NAME))


def giant_setup_inf(roots, package, outside):
    """512 MiB that take 4 KiB on disk: read as invalid, not read whole."""
    os.truncate(os.path.join(package, "SETUP.INF"), 512 << 20)


SWAPPED = []


BIG_SIZE = 256 << 20


def big_payload(roots, package, outside):
    with open(os.path.join(package, "Gross.dat"), "wb") as f:
        f.truncate(BIG_SIZE)
    with open(program(roots, "Gross.dat"), "wb") as f:
        f.write(b"old\r\n")


def kill_during_copy(build, roots):
    """Starts the installation and kills every Wine process of the prefix once the copy's
    temporary has grown; the old target must still be whole then. Returns the failures."""
    folder = real_path(PROGRAM_DIR, roots)
    driver = os.path.join(build, "tests", "e2e", "e2e_driver.exe")
    process = subprocess.Popen(["wine", driver, "D:\\package\\setup.exe", "click:1", "waitend"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + ANSWER_SECONDS
    grown = False
    while not grown and time.monotonic() < deadline and process.poll() is None:
        grown = any(n.startswith("~qz") and os.path.getsize(os.path.join(folder, n)) > (1 << 20)
                    for n in os.listdir(folder))
        time.sleep(0.05)
    subprocess.run(["wineserver", "-k"])
    process.wait()
    failures = [] if grown else ["the copy was not caught midway"]
    if open(program(roots, "Gross.dat"), "rb").read() != b"old\r\n":
        failures.append("the killed copy did not leave the old target whole")
    return failures


def swap_new_files_for_links(roots, outside, stop):
    """Every entry that appears in the program folder is replaced by a link to the protected file."""
    folder = real_path(PROGRAM_DIR, roots)
    seen = set(os.listdir(folder))
    while not stop.is_set():
        for name in set(os.listdir(folder)) - seen:
            path = os.path.join(folder, name)
            try:
                if not os.path.islink(path):
                    os.remove(path)
                    os.symlink(os.path.join(outside, "protected.txt"), path)
                    SWAPPED.append(name)
            except OSError:
                pass
            seen.add(name)


HOSTILE = [
    Hostile(success(copies("Hilfe.chm"), name="target is a link",
                    files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm")}),
            prepare=link_to_outside("Hilfe.chm")),
    Hostile(success(copies("Hilfe.chm"), name="Update.inf is a link"),
            prepare=link_to_outside("Update.inf")),
    Hostile(success(copies("Hilfe.chm"), name="Update.inf has a second name",
                    files={PROGRAM_DIR + "Update.inf": OLD_RECORD}),
            prepare=second_name),
    Hostile(success(copies("Hilfe.chm"), name="Update.inf is read-only",
                    files={PROGRAM_DIR + "Update.inf": OLD_RECORD}),
            prepare=read_only_record),
    Hostile(failed("a FIFO as source", copies("Hilfe.chm"), "Hilfe.chm",
                   files={PROGRAM_DIR + "Hilfe.chm": b"Basis (Stand Hotfix 2)\r\n",
                          PROGRAM_DIR + "Update.inf": OLD_RECORD}),
            prepare=fifo_in_package),
    Hostile(success(copies("Hilfe.chm"), name="a FIFO as Update.inf",
                    files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm")}),
            prepare=fifo_as_record),
    Hostile(Scenario("a lying version block", setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.2"),
                     info=message(IDS_NO_VERSION)),
            prepare=lying_version_block),
    Hostile(success(copies(LONG_NAME), name="a name as long as the path limit allows",
                    files={PROGRAM_DIR + LONG_NAME: Payload("package/Hilfe.chm"),
                           PROGRAM_DIR + "Update.inf": NEW_RECORD}),
            prepare=long_name),
    Hostile(Scenario("a sparse 512 MiB SETUP.INF", setup_inf=copies("Hilfe.chm"), header="",
                     info=message(IDS_INVALID_CONFIG),
                     files={PROGRAM_DIR + "Update.inf": OLD_RECORD}),
            prepare=giant_setup_inf),
]


def snapshot(folder):
    """Every entry below `folder` with its kind and content, to see that nothing there changed."""
    state = {}
    for base, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(base, name)
            if os.path.islink(path):
                state[path] = "link:" + os.readlink(path)
            elif os.path.isfile(path):
                state[path] = hashlib.sha256(open(path, "rb").read()).hexdigest() + oct(os.stat(path).st_mode)
            else:
                state[path] = "other"
    return state


def installation_failures(roots):
    failures = []
    folder = real_path(PROGRAM_DIR, roots)
    for name in os.listdir(folder):
        # A link of a temporary's name is the watcher's own; a file of ours must not stay.
        path = os.path.join(folder, name)
        if name.startswith("~qz") and not os.path.islink(path):
            failures.append("a temporary is left: %s" % name)
    return failures


def run_setup(build, actions, timeout):
    driver = os.path.join(build, "tests", "e2e", "e2e_driver.exe")
    # Through drive D: (the run's root), so the package's paths are as short as the host's.
    return subprocess.run(["wine", driver, "D:\\package\\setup.exe"] + actions,
                          capture_output=True, text=True, timeout=timeout)


def run(hostile, build, cat, prefix):
    scenario = hostile.scenario
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-hostile-")
    outside = os.path.join(root, "outside")
    os.makedirs(outside)
    with open(os.path.join(outside, "protected.txt"), "wb") as f:
        f.write(b"protected, never to be changed\r\n")
    roots = wine_host(prefix, root)
    windir = roots["WIN"]
    ini = os.path.join(windir, "TALMORIX.INI")
    package = os.path.join(root, "package")
    example = os.path.join(build, "example")
    created = lay_out(scenario, example, package, roots, ini, data="D:\\Daten", prog="D:\\Programme\\Host")
    shutil.copy(os.path.join(build, "setup", "setup.exe"), package)
    if hostile.prepare:
        hostile.prepare(roots, package, outside)
    before = snapshot(outside)
    stop = threading.Event()
    watcher = None
    if hostile.watch:
        watcher = threading.Thread(target=hostile.watch, args=(roots, outside, stop))
        watcher.start()
    try:
        if hostile.kill_midway:
            failures += kill_during_copy(build, roots)
        started = time.monotonic()
        actions = (["click:1", "waitend"] if scenario.actions else []) + ["state"]
        result = run_setup(build, actions, ANSWER_SECONDS)
        stop.set()
        values = parse(result.stdout)
        if result.returncode != 0 or "error" in values:
            failures.append("driver: %s %s" % (values.get("error", ""), result.stdout[-2000:]))
        if hostile.watch is None and "state.info" in values:
            failures += check_state(scenario, values, cat)
        failures += check_host(scenario, example, roots)
        failures += installation_failures(roots)
        if snapshot(outside) != before:
            failures.append("a file outside the installation changed")
        if hostile.watch:
            folder = real_path(PROGRAM_DIR, roots)
            for name in ("Hilfe.chm", "Programm.exe", "Update.inf"):
                if os.path.islink(os.path.join(folder, name)):
                    failures.append("the installation holds a link: %s" % name)
            if not SWAPPED:
                failures.append("the watcher swapped nothing: the attack did not take place")
        print("     answered in %.1f s" % (time.monotonic() - started))
    except subprocess.TimeoutExpired:
        failures.append("no answer within %d s" % ANSWER_SECONDS)
        subprocess.run(["wineserver", "-k"])
    finally:
        stop.set()
        if watcher:
            watcher.join()
        remove_host(created, root)
    return failures


def check_host(scenario, example, roots):
    failures = []
    for logical, expected in scenario.files.items():
        path = real_path(logical, roots)
        if isinstance(expected, Payload):
            expected = open(os.path.join(example, expected.name), "rb").read()
        if os.path.islink(path) or not os.path.isfile(path):
            failures.append("%s is no plain file" % logical)
        elif open(path, "rb").read() != expected:
            failures.append("%s differs" % logical)
    return failures


def main():
    build = os.path.abspath(sys.argv[1])
    cat = catalogue.read_strings(os.path.join(build, "setup", "setup.res"))
    prefix = os.environ["WINEPREFIX"]
    watched = Hostile(Scenario("a watcher swaps every new file for a link", setup_inf=copies(
        "Hilfe.chm", "Programm.exe"), actions=["install"]), watch=swap_new_files_for_links)
    killed = Hostile(success(copies("Gross.dat"), name="a copy killed midway, then a second run",
                             files={PROGRAM_DIR + "Gross.dat": b"\0" * BIG_SIZE}),
                     prepare=big_payload, kill_midway=True)
    chosen = [h for h in HOSTILE + [watched, killed] if not os.environ.get("HOSTILE_ONLY")
              or os.environ["HOSTILE_ONLY"] in h.name]
    return run_scenarios(chosen,
                         lambda hostile: run(hostile, build, cat, prefix))


if __name__ == "__main__":
    sys.exit(main())
