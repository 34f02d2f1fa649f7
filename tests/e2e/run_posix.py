"""Runs the end-to-end scenarios against the POSIX setup, driven through its terminal front-end
with piped input.

Then the unattended runs (unattended.py) against the same build.

Usage: run_posix.py <native build folder> <windows build folder (for the example payload)>"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from layout import check_files, lay_out, run_scenarios  # noqa: E402
import unattended  # noqa: E402
from scenarios import SCENARIOS, expected_exit_code, expected_text, posix_exit_status  # noqa: E402

# The install command reaches the dialog as Enter on its default button, whether that is visible.
KEYS = {"install": "i", "yes": "j", "no": "n", "escape": "\x1b", "enter": "", "command-ok": ""}
REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def shown(expected, output):
    """Whether the terminal showed a text of the catalogue (its CR LF as line breaks)."""
    if isinstance(expected, re.Pattern):
        return re.search(expected.pattern.replace("\\\r\\\n", "\\\n").replace("\r\n", "\n"),
                         output, re.S) is not None
    return expected.replace("\r\n", "\n") in output


def run(scenario, native, example, cat):
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-e2e-")
    roots = {"DATA": os.path.join(root, "Daten"), "PROG": os.path.join(root, "Programme", "Host"),
             "WIN": os.path.join(root, "windows"),
             "SYS": os.path.join(root, "windows", "system32"),
             "OTHERSYS": os.path.join(root, "windows", "syswow64")}
    package = os.path.join(root, "package")
    try:
        lay_out(scenario, example, package, roots, os.path.join(roots["WIN"], "TALMORIX.INI"),
                data=roots["DATA"], prog=roots["PROG"],
                followup=os.path.join(REPO, "examples", "package", "Nachlauf.exe.sh"))
        shutil.copy(os.path.join(native, "setup", "setup"), package)
        keys = "".join(KEYS[action] + "\n" for action in scenario.actions)
        # The run's install lock and pass record in a state folder of its own.
        env = dict(os.environ, QUARNEL_WINDIR=roots["WIN"],
                   QUARNEL_STATEDIR=os.path.join(root, "state"))
        env.pop("QUARNEL_SYSDIR", None)
        result = subprocess.run([os.path.join(package, "setup")], input=keys.encode(),
                                capture_output=True, env=env, timeout=120, cwd=root)
        output = result.stdout.decode("utf-8", "replace").replace("\r", "")
        # A scenario that ends in the success state exits 0; every other end is 1.
        expected_status = posix_exit_status(expected_exit_code(scenario))
        if result.returncode != expected_status:
            failures.append("exit code %d, expected %d: %s" % (result.returncode, expected_status,
                                                               result.stderr[-500:]))
        texts = [("information text", expected_text(scenario.info, cat)),
                 ("caption", cat[57344])]
        if scenario.header.strip():
            texts.append(("header", scenario.header))
        texts += [("question", expected_text(q, cat)) for q in scenario.questions]
        for what, expected in texts:
            if not shown(expected, output):
                failures.append("%s not shown: %r" % (what, expected))
        if scenario.progress is not None and not re.search(r"\b%d\b" % scenario.progress, output):
            failures.append("progress %d not shown" % scenario.progress)
        failures += check_files(scenario, example, package, roots)
        if failures:
            failures.append("terminal output:\n" + output[-3000:])
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return failures


def main():
    native = os.path.abspath(sys.argv[1])
    example = os.path.join(os.path.abspath(sys.argv[2]), "example")
    cat = catalogue.read_strings(os.path.join(native, "setup", "setup.res"))
    status = run_scenarios(SCENARIOS, lambda scenario: run(scenario, native, example, cat))
    print("unattended runs:")
    status |= run_scenarios(unattended.SCENARIOS,
                            lambda scenario: unattended.run_posix(scenario, native, example, cat))
    status |= run_scenarios(
        [unattended.Scenario("the package check's dry run says what a quiet run answers", None)],
        lambda scenario: unattended.dry_run_tells_the_quiet_answer(native, example))
    return status


if __name__ == "__main__":
    sys.exit(main())
