"""Laying out a scenario's package and host installation, and checking the host afterwards."""

import os
import shutil

from scenarios import HOST, WORKED_EXAMPLE, Payload

PACKAGE_FILES = ["Programm.exe", "Basis.dll", "laufzeit.dll", "Nachlauf.exe", "Hilfe.chm", "Brief.dot"]


def real_path(logical, roots):
    root, _, rest = logical.partition("/")
    return os.path.join(roots[root], *[part for part in rest.split("/") if part])


def write(path, content, example):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if isinstance(content, Payload):
        shutil.copyfile(os.path.join(example, content.name), path)
    else:
        with open(path, "wb") as f:
            f.write(content)


def lay_out(scenario, example, package, roots, ini, data, prog, followup=None):
    """Creates the folders and files; returns the files to remove afterwards from shared folders
    (the Windows and system directories of a Wine prefix)."""
    for name in ("DATA", "PROG", "WIN", "SYS"):
        os.makedirs(roots[name], exist_ok=True)
    for logical, content in {**HOST, **scenario.extra_host}.items():
        write(real_path(logical, roots), content, example)

    os.makedirs(package, exist_ok=True)
    for name in PACKAGE_FILES:
        shutil.copyfile(os.path.join(example, "package", name), os.path.join(package, name))
    if followup:
        shutil.copyfile(followup, os.path.join(package, "Nachlauf.exe"))
        os.chmod(os.path.join(package, "Nachlauf.exe"), 0o755)
    for name in scenario.followup_names:
        shutil.copy(os.path.join(package, "Nachlauf.exe"), os.path.join(package, name))
    for name, content in scenario.extra_package.items():
        write(os.path.join(package, name), content, example)
    if scenario.setup_inf == WORKED_EXAMPLE:
        shutil.copyfile(os.path.join(example, "package", "SETUP.INF"),
                        os.path.join(package, "SETUP.INF"))
    elif scenario.setup_inf is not None:
        with open(os.path.join(package, "SETUP.INF"), "wb") as f:
            f.write(scenario.setup_inf.encode("cp1252"))

    if os.path.exists(ini):
        os.remove(ini)
    if scenario.talmorix is not None:
        with open(ini, "wb") as f:
            f.write(scenario.talmorix.replace("{DATA}", data).replace("{PROG}", prog).encode("cp1252"))

    shared = [real_path(p, roots) for p in scenario.files
              if p.split("/")[0] in ("WIN", "SYS", "OTHERSYS")]
    return shared + [ini]


def check_files(scenario, example, package, roots):
    failures = []
    for logical, expected in scenario.files.items():
        path = real_path(logical, roots)
        if logical.endswith("/"):
            exists = os.path.isdir(path)
            if exists != (expected is not None):
                failures.append("folder %s %s" % (logical, "missing" if not exists else "created"))
            continue
        if expected is None:
            if os.path.exists(path):
                failures.append("%s should not exist" % logical)
            continue
        if isinstance(expected, Payload):
            with open(os.path.join(example, expected.name), "rb") as f:
                expected_bytes, what = f.read(), expected.name
        else:
            expected_bytes, what = expected, repr(expected)
        if not os.path.isfile(path):
            failures.append("%s missing" % logical)
            continue
        with open(path, "rb") as f:
            if f.read() != expected_bytes:
                failures.append("%s differs from %s" % (logical, what))
    log = os.path.join(package, "Nachlauf.log")
    if scenario.followup_ran is not None:
        lines = open(log, "rb").read().splitlines() if os.path.exists(log) else []
        if scenario.followup_ran and [l.strip() for l in lines] != [b"Nachlauf /q"]:
            failures.append("follow-up program: %r" % lines)
        if not scenario.followup_ran and lines:
            failures.append("the follow-up program ran")
    return failures


def run_scenarios(scenarios, run_one):
    """Runs every scenario with `run_one` (which returns its failures) and prints the outcome, with
    a closing line "N passed, N failed". Returns the exit code."""
    passed = failed = 0
    for scenario in scenarios:
        failures = run_one(scenario)
        if failures:
            failed += 1
            print("FAIL %s" % scenario.name)
            for failure in failures:
                print("     " + failure.replace("\n", "\n     "))
        else:
            passed += 1
            print("ok   %s" % scenario.name)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


class NamedCase:
    def __init__(self, name, run):
        self.name = name
        self.run = run


def run_native_cases_as_root(native, cases, catalogue, answer_within):
    """Runs each (name, run) case against the POSIX setup of the native build `native`; each
    `run(setup, cat)` returns its failures. They need root: the setup runs as an administrator,
    and the attackers as an ordinary user. Without root they are skipped, and under the test
    script (QUARNEL_REQUIRE_INPUTS=1) that fails. Returns the exit code."""
    import subprocess

    if os.geteuid() != 0:
        print("skipped: these cases run the setup as an administrator (root)")
        return 1 if os.environ.get("QUARNEL_REQUIRE_INPUTS") == "1" else 0
    native = os.path.abspath(native)
    setup = os.path.join(native, "setup", "setup")
    cat = catalogue.read_strings(os.path.join(native, "setup", "setup.res"))

    def run_one(case):
        try:
            return case.run(setup, cat)
        except subprocess.TimeoutExpired:
            return ["the setup did not answer within %d s" % answer_within]

    return run_scenarios([NamedCase(n, r) for n, r in cases], run_one)


def wine_host(prefix, root, system="system32", other_system=None):
    """The logical roots of a host installation under Wine: its data and program folders in `root`,
    reached as drive D: of the prefix, and the prefix's Windows and system folders."""
    windir = os.path.join(prefix, "drive_c", "windows")
    roots = {"DATA": os.path.join(root, "Daten"), "PROG": os.path.join(root, "Programme", "Host"),
             "WIN": windir, "SYS": os.path.join(windir, system)}
    if other_system:
        roots["OTHERSYS"] = os.path.join(windir, other_system)
    drive = os.path.join(prefix, "dosdevices", "d:")
    if os.path.lexists(drive):
        os.remove(drive)
    os.symlink(root, drive)
    return roots


def remove_host(created, root):
    """Removes what a run laid out: the files it placed outside `root` (in the Windows folders),
    then `root` itself."""
    for path in created:
        if os.path.isfile(path):
            os.remove(path)
    shutil.rmtree(root, ignore_errors=True)

