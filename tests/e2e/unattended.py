"""Unattended runs of the setup, as a software-distribution system makes them: a quiet or passive
run with no input at all, the options' answer to the replace questions, the log, and the exit
code for every end. The same scenarios run against the POSIX setup and against setup.exe under
Wine (read through e2e_exitcode.exe, since Wine's own exit status keeps only 8 bits).

Usage: unattended.py posix <native build> <windows build (for the example payload)>
       unattended.py wine <windows build>     (WINEPREFIX and DISPLAY set up, see run-wine.sh)"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field
from typing import List, Optional

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from layout import check_files, lay_out, remove_host, run_scenarios, wine_host  # noqa: E402
from scenarios import (HEAD, INSTALLED, PROGRAM_DIR, SLOW_FOLLOWUP, UNCHANGED,  # noqa: E402
                       WORKED_EXAMPLE, Payload, Scenario, inf, posix_exit_status)

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LOG = "{LOG}"  # where the runner puts the log


@dataclass
class Unattended(Scenario):
    # Options in Windows spelling ("/quiet"); the POSIX runner writes "--quiet". LOG stands for
    # the log file's path.
    options: List[str] = field(default_factory=list)
    exit_code: int = 0  # Windows'; POSIX: 0, 1, or 2 for a wrong command line
    # Patterns of log lines (without the time stamp), each matching a later line than the one
    # before; None: no log may be written.
    log: Optional[List[str]] = field(default_factory=list)
    # The setup's dialog (a passive run) or a message box comes up; None: a dialog may be too
    # short-lived to be seen.
    window: Optional[bool] = False
    # The text the message box (Windows) or standard error (POSIX) gives; a catalogue number.
    told: Optional[int] = None
    # Only the POSIX setup, whose dialog reads its input from a pipe that can be closed.
    posix_only: bool = False


def result_lines(number, exit_code):
    """The log's last lines; the exit code as the runner's system gives it ({EXIT})."""
    return [r"result: %d: " % number, r"exit code: {EXIT}$"]


START = [r"setup 15\.0\.0\.0$", r"command line: .*setup(\.exe)?.* /quiet|command line: .*--quiet",
         r"host: data folder .*Daten; program folder .*Daten.Client.program. \(found\); "
         r"Windows folder .*; system folder .*; system code \d"]
START_PASSIVE = [r"setup 15\.0\.0\.0$", r"command line: .*(/|--)passive"]
CHECKS = [r"required version 1: .*Programm\.exe: installed 8\.0\.2\.0, required 8\.0\.2: met$",
          r"required version 2: .*Stand\.inf: installed 8\.0\.4, required 8\.0: met$"]
COPIES_KEPT = [
    r"folder created: .*Vorlagen.Standard$",
    r"copy: .*Programm\.exe -> .*Programm\.exe: replaced$",
    r"copy: .*Basis\.dll -> .*Basis\.dll: kept; question 62011 \(on disk 8\.0\.3\.0, package "
    r"8\.0\.2\.5\), answer no$",
    r"copy: .*Hilfe\.chm -> .*Hilfe\.chm: replaced$",
    r"copy: .*Brief\.dot -> .*Brief\.dot: copied$",
    r"copy: .*laufzeit\.dll -> .*laufzeit\.dll: (copied|skipped by the system filter)",
]
AFTER_COPIES = [r'run record: .*Update\.inf: rewritten with "  Quarnel ZTR Hotfix 3"$',
                r"program 1: Nachlauf\.exe /q: exit code 0$"]
KEPT = {**INSTALLED, PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll")}

# Basis.dll only in another language: the file on disk is the package's German 8.0.2.5, the
# package brings the English 8.0.3.0, so only the language question comes.
LANGUAGE_ONLY = dict(
    setup_inf=inf(*HEAD, "[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir",
                  "File1=Basis.dll;VERSION"),
    extra_host={PROGRAM_DIR + "Basis.dll": Payload("package/Basis.dll")},
    extra_package={"Basis.dll": Payload("host/Daten/Client/program/Basis.dll")})
# The language names are the system's: German ones on a German Windows, English ones elsewhere.
GERMAN = r"(Deutsch|German)( \([^)]*\))?"
ENGLISH = r"(Englisch|English)( \([^)]*\))?"
LANGUAGE_QUESTION = (r"copy: .*Basis\.dll -> .*Basis\.dll: %s; question 62010 \(on disk "
                     + GERMAN + r", package " + ENGLISH + r"\), answer %s$")


def quiet_error(name, number, **layout):
    return Unattended(name, options=["/quiet", "/log", LOG], exit_code=number,
                      log=[START[0], START[1]] + result_lines(number, number), **layout)


SCENARIOS = [
    Unattended("quiet: the example installs, the newer file kept by default",
               setup_inf=WORKED_EXAMPLE, options=["/quiet", "/log", LOG],
               log=START + CHECKS + [r"ready: 62001$", r"installing$"] + COPIES_KEPT
               + AFTER_COPIES + result_lines(62009, 0),
               files=KEPT, followup_ran=True),
    Unattended("quiet, answer yes: both questions answered yes",
               setup_inf=WORKED_EXAMPLE, options=["-QUIET", "/Answer", "YES", "-log", LOG],
               log=START[:1] + [
                   r"copy: .*Basis\.dll -> .*Basis\.dll: replaced; question 62011 \(on disk "
                   r"8\.0\.3\.0, package 8\.0\.2\.5\), answer yes; question 62010 \(on disk "
                   + ENGLISH + r", package " + GERMAN + r"\), answer yes$"] + result_lines(62009, 0),
               files={**INSTALLED, PROGRAM_DIR + "Basis.dll": Payload("package/Basis.dll")},
               followup_ran=True),
    Unattended("quiet: another language kept by default",
               options=["/quiet", "/log", LOG], **LANGUAGE_ONLY,
               log=[LANGUAGE_QUESTION % ("kept", "no")] + result_lines(62009, 0),
               files={PROGRAM_DIR + "Basis.dll": Payload("package/Basis.dll")}),
    Unattended("quiet, answer yes: another language replaced",
               options=["/quiet", "/answer", "yes", "/log", LOG], **LANGUAGE_ONLY,
               log=[LANGUAGE_QUESTION % ("replaced", "yes")] + result_lines(62009, 0),
               files={PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll")}),
    Unattended("passive: the example installs, nothing is asked, the dialog closes",
               setup_inf=WORKED_EXAMPLE, options=["/passive", "/log", LOG], window=None,
               log=START_PASSIVE + COPIES_KEPT + AFTER_COPIES + result_lines(62009, 0),
               files=KEPT, followup_ran=True),
    Unattended("passive: the dialog is up while the run goes on",
               setup_inf=inf(*HEAD, "EXEFile1=" + SLOW_FOLLOWUP, "[Block1]",
                             "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm"),
               followup_names=["Warte.exe"], options=["/passive"], window=True, log=None,
               files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm")}),
    Unattended("passive: a refusal at the start closes the dialog too",
               setup_inf=WORKED_EXAMPLE, talmorix=None, options=["/passive", "/log", LOG],
               window=None, exit_code=62002, log=START_PASSIVE + result_lines(62002, 62002),
               files=UNCHANGED),
    Unattended("the dialog with a log, closed before installing",
               setup_inf=WORKED_EXAMPLE, options=["/log", LOG], exit_code=1602, posix_only=True,
               log=[START_PASSIVE[0], r"command line: .*--log", r"ready: 62001$",
                    r"result: cancelled before installing$", r"exit code: {EXIT}$"],
               files=UNCHANGED),
    quiet_error("quiet: no SETUP.INF", 62000, setup_inf=None, files=UNCHANGED),
    quiet_error("quiet: no host installation", 62002, setup_inf=WORKED_EXAMPLE, talmorix=None),
    quiet_error("quiet: no installed version", 62004,
                setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe")),
    quiet_error("quiet: installed version older, with InfoText", 62005,
                setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.3",
                              "InfoText1=Bitte installieren Sie zuerst das Service Pack 3.")),
    quiet_error("quiet: target folder not found", 62006,
                setup_inf=inf(*HEAD, "[Block1]", "Section=GENERAL-Directories", "Pfad=Fehlt",
                              "File1=Hilfe.chm")),
    quiet_error("quiet: a copy fails", 62008,
                setup_inf=inf(*HEAD, "[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir",
                              "File1=Fehlt.dll")),
    quiet_error("quiet: a follow-up program cannot be started", 62012,
                setup_inf=inf(*HEAD, "EXEFile1=GibtEsNicht.exe /x", "[Block1]",
                              "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm")),
    quiet_error("quiet: a newer version installed", 62013,
                setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.1")),
    Unattended("quiet: a wrong option changes nothing, writes no log",
               setup_inf=WORKED_EXAMPLE, options=["/quiet", "/log", LOG, "/silent"],
               exit_code=87, log=None, files=UNCHANGED),
    Unattended("a wrong option without /quiet says which options exist",
               setup_inf=WORKED_EXAMPLE, options=["/answer", "vielleicht"], exit_code=87,
               log=None, window=True, told=62015, files=UNCHANGED),
    Unattended("quiet: a log that cannot be written stops the run",
               setup_inf=WORKED_EXAMPLE, options=["/quiet", "/log", "{HOST}"], exit_code=1622,
               log=None, told=62017, files=UNCHANGED),
    Unattended("quiet: a log name that is a link is not written through",
               setup_inf=WORKED_EXAMPLE, options=["/quiet", "/log", LOG], exit_code=1622,
               log=None, told=62017, files=UNCHANGED),
]
LINKED_LOG = "quiet: a log name that is a link is not written through"


def posix_options(options):
    """The Windows spelling as the POSIX setup takes it: "--quiet", values as they are."""
    out = []
    for i, option in enumerate(options):
        is_value = i > 0 and options[i - 1].lower().lstrip("/-") in ("log", "answer")
        out.append("--" + option[1:] if option[0] in "/-" and not is_value else option)
    return out


def check_log(scenario, path, exit_code):
    if scenario.log is None:
        # A link placed at the log's name is the victim check's concern.
        return ["a log was written"] if os.path.exists(path) and not os.path.islink(path) else []
    if not os.path.isfile(path):
        return ["no log written"]
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        return ["the log is not UTF-8"]
    lines = []
    for line in text.split("\r\n")[:-1]:
        if not re.match(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d ", line):
            return ["a log line without its time stamp: %r" % line]
        lines.append(line[20:])
    at = 0
    for pattern in scenario.log:
        pattern = pattern.replace("{EXIT}", str(exit_code))
        while at < len(lines) and not re.search(pattern, lines[at]):
            at += 1
        if at == len(lines):
            return ["log line %r missing (in order); the log:\n%s" % (pattern, "\n".join(lines))]
        at += 1
    return []


def prepare_log(scenario, log, victim):
    if scenario.name == LINKED_LOG:
        with open(victim, "wb") as f:
            f.write(b"keep me")
        os.symlink(victim, log)


def check_victim(scenario, victim):
    if scenario.name == LINKED_LOG and open(victim, "rb").read() != b"keep me":
        return ["the file the log's link leads to was written"]
    return []


def run_posix(scenario, native, example, cat):
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-unattended-")
    roots = {"DATA": os.path.join(root, "Daten"), "PROG": os.path.join(root, "Programme", "Host"),
             "WIN": os.path.join(root, "windows"),
             "SYS": os.path.join(root, "windows", "system32"),
             "OTHERSYS": os.path.join(root, "windows", "syswow64")}
    package = os.path.join(root, "package")
    log, victim = os.path.join(root, "setup.log"), os.path.join(root, "victim.txt")
    try:
        lay_out(scenario, example, package, roots, os.path.join(roots["WIN"], "TALMORIX.INI"),
                data=roots["DATA"], prog=roots["PROG"],
                followup=os.path.join(REPO, "examples", "package", "Nachlauf.exe.sh"))
        shutil.copy(os.path.join(native, "setup", "setup"), package)
        prepare_log(scenario, log, victim)
        options = [o.replace(LOG, log).replace("{HOST}", root)
                   for o in posix_options(scenario.options)]
        env = dict(os.environ, QUARNEL_WINDIR=roots["WIN"])
        env.pop("QUARNEL_SYSDIR", None)
        result = subprocess.run([os.path.join(package, "setup")] + options,
                                stdin=subprocess.DEVNULL, capture_output=True, env=env,
                                timeout=60, cwd=root)
        stderr = result.stderr.decode("utf-8", "replace")
        if result.returncode != posix_exit_status(scenario.exit_code):
            failures.append("exit code %d, expected %d" % (result.returncode,
                                                           posix_exit_status(scenario.exit_code)))
        failures += check_told(scenario, stderr, cat, "--")
        failures += check_log(scenario, log, posix_exit_status(scenario.exit_code))
        failures += check_victim(scenario, victim)
        failures += check_files(scenario, example, package, roots)
        if failures:
            failures.append("standard error: " + stderr[-1000:])
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return failures


def check_told(scenario, text, cat, prefix):
    """What a failed POSIX run prints on standard error, or what a message box said."""
    if scenario.told == 62015:
        usage = cat[62015].replace("%1", prefix).split("%2")[0]
        return [] if usage.replace("\r\n", "\n") in text.replace("\r\n", "\n") else \
            ["no usage text: %r" % text[-500:]]
    if prefix == "--" and scenario.exit_code not in (0, 87, 1602):  # a cancel needs no reason
        number = scenario.told or scenario.exit_code
        if not re.search(r"^setup: %d: \S" % number, text, re.M):
            return ["no line 'setup: %d: ...' on standard error" % number]
    return []


def run_wine(scenario, build, cat, prefix):
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-unattended-")
    roots = wine_host(prefix, root, "system32", "syswow64")
    ini = os.path.join(roots["WIN"], "TALMORIX.INI")
    package = os.path.join(root, "package")
    example = os.path.join(build, "example")
    created = lay_out(scenario, example, package, roots, ini,
                      data="D:\\Daten", prog="D:\\Programme\\Host")
    shutil.copy(os.path.join(build, "setup", "setup.exe"), package)
    # A slow follow-up program, as in the dialog's scenarios.
    shutil.copy(os.path.join(build, "tests", "e2e", "e2e_driver.exe"),
                os.path.join(package, "Warte.exe"))
    log, victim = os.path.join(root, "setup.log"), os.path.join(root, "victim.txt")
    try:
        prepare_log(scenario, log, victim)
        options = [o.replace(LOG, "D:\\setup.log").replace("{HOST}", "D:\\")
                   for o in scenario.options]
        # A box that waits for a person is left standing a few seconds, then the program ended.
        limit = "8" if scenario.told == 62015 else "120"
        result = subprocess.run(["wine", os.path.join(build, "tests", "e2e", "e2e_exitcode.exe"),
                                 limit, "D:\\package\\setup.exe"] + options,
                                capture_output=True, text=True, timeout=300)
        values = {}
        windows = []
        for line in result.stdout.splitlines():
            key, _, value = line.partition("=")
            if key == "window":
                windows.append([bytes.fromhex(v).decode("cp1252") for v in (value + " ").split(" ")[:2]])
            else:
                values[key] = value
        expected_exit = "timeout" if scenario.told == 62015 else str(scenario.exit_code)
        if values.get("exit") != expected_exit:
            failures.append("exit %s, expected %s (%s)" % (values.get("exit"), expected_exit,
                                                          result.stdout[-500:]))
        if scenario.window is not None and bool(windows) != scenario.window:
            failures.append("windows seen: %r" % windows)
        if any(caption != cat[57344] for caption, _ in windows):
            failures.append("a window of another caption: %r" % windows)
        if scenario.told == 62015:
            failures += check_told(scenario, " ".join(text for _, text in windows), cat, "/")
        failures += check_log(scenario, log, scenario.exit_code)
        failures += check_victim(scenario, victim)
        failures += check_files(scenario, example, package, roots)
    finally:
        remove_host(created, root)
    return failures


def dry_run_tells_the_quiet_answer(native, example):
    """The package check's dry run of the example says, at each question, what a quiet run with
    the default answer does; a quiet run then keeps exactly those files."""
    import json

    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-unattended-")
    roots = {"DATA": os.path.join(root, "Daten"), "PROG": os.path.join(root, "Programme", "Host"),
             "WIN": os.path.join(root, "windows"),
             "SYS": os.path.join(root, "windows", "system32")}
    package = os.path.join(root, "package")
    log = os.path.join(root, "setup.log")
    try:
        scenario = SCENARIOS[0]
        lay_out(scenario, example, package, roots, os.path.join(roots["WIN"], "TALMORIX.INI"),
                data=roots["DATA"], prog=roots["PROG"],
                followup=os.path.join(REPO, "examples", "package", "Nachlauf.exe.sh"))
        check = subprocess.run([os.path.join(native, "check", "setupcheck"), "--json", "--host",
                                roots["WIN"], package], capture_output=True, timeout=60)
        steps = json.loads(check.stdout)["dryRun"]["steps"]
        questions = [s for s in steps if s["kind"] == "question"]
        if not questions:
            failures.append("the dry run asked nothing")
        for step in questions:
            if "a quiet run, without /answer yes, answers No" not in step["text"]:
                failures.append("the dry run does not say the quiet answer: %r" % step["text"])
        shutil.copy(os.path.join(native, "setup", "setup"), package)
        env = dict(os.environ, QUARNEL_WINDIR=roots["WIN"])
        env.pop("QUARNEL_SYSDIR", None)
        subprocess.run([os.path.join(package, "setup"), "--quiet", "--log", log],
                       stdin=subprocess.DEVNULL, capture_output=True, env=env, timeout=60)
        kept = {line.split(" -> ")[1].split(": kept")[0]
                for line in open(log, encoding="utf-8").read().splitlines() if ": kept;" in line}
        asked = {platform_path(s["target"]) for s in questions}
        if kept != asked:
            failures.append("the quiet run kept %r, the dry run asked about %r" % (kept, asked))
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return failures


def platform_path(path):
    """A POSIX path as the log spells it."""
    return path.replace("\\", "/")


def main():
    mode = sys.argv[1]
    if mode == "posix":
        native = os.path.abspath(sys.argv[2])
        example = os.path.join(os.path.abspath(sys.argv[3]), "example")
        cat = catalogue.read_strings(os.path.join(native, "setup", "setup.res"))
        status = run_scenarios(SCENARIOS, lambda s: run_posix(s, native, example, cat))
        dry_run = Scenario("the dry run says what a quiet run answers", setup_inf=None)
        return status | run_scenarios([dry_run],
                                      lambda s: dry_run_tells_the_quiet_answer(native, example))
    build = os.path.abspath(sys.argv[2])
    cat = catalogue.read_strings(os.path.join(build, "setup", "setup.res"))
    prefix = os.environ["WINEPREFIX"]
    return run_scenarios([s for s in SCENARIOS if not s.posix_only],
                         lambda s: run_wine(s, build, cat, prefix))


if __name__ == "__main__":
    sys.exit(main())
