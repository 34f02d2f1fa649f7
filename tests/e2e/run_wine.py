"""Runs the end-to-end scenarios against setup.exe of one Windows build (x86 or x64) under Wine,
through that build's e2e_driver.exe.

Usage: run_wine.py <Windows build folder> [<build folder of the setup.exe to run>]; the driver and
the example come from the first. WINEPREFIX and DISPLAY must be set up (see run-wine.sh)."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
from scenarios import (AFTER_INSTALL_SCENARIOS, QUEUED_INPUT_SCENARIOS, SCENARIOS,  # noqa: E402
                       Payload, expected_exit_code, expected_text, text_matches)
from layout import check_files, lay_out, remove_host, run_scenarios, wine_host  # noqa: E402

ACTIONS = {
    "install": ["click:1", "waitend"],
    "settle": ["settle"],
    "yes": ["answer:yes"],
    "no": ["answer:no"],
    "escape": ["key:escape"],
    "enter": ["key:enter", "settle"],
    "command-ok": ["command:1", "settle"],
    # Hardware input while the follow-up program runs, then the end of the run.
    "queue-cancel": ["click:1", "sleep:1500", "input:click:2", "input:escape", "waitend", "settle"],
    # Enter waiting in the queue when the installation starts.
    "queue-enter": ["freeze", "click:1", "input:enter", "thaw"],
}


# The system folder a program sees on 64-bit Windows, by the PE machine of the program: a 32-bit
# program's writes to the system directory are redirected to syswow64.
SYSTEM_FOLDERS = {0x14C: ("syswow64", "system32"), 0x8664: ("system32", "syswow64")}


def system_folders(program):
    """The system folder `program` writes to, and the one of the other architecture."""
    with open(program, "rb") as f:
        header = f.read(4096)
    pe = struct.unpack_from("<I", header, 0x3C)[0]
    return SYSTEM_FOLDERS[struct.unpack_from("<H", header, pe + 4)[0]]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def driver_actions(scenario):
    steps = []
    for i, action in enumerate(scenario.actions):
        steps += ACTIONS[action]
        # After the last answer the installation goes on to its end.
        if action in ("yes", "no") and (i + 1 == len(scenario.actions)
                                        or scenario.actions[i + 1] not in ("yes", "no")):
            steps.append("waitend")
    if scenario.actions and scenario.actions[-1] == "escape":
        return ["state"] + steps + ["exitwait"]
    return steps + ["state"]


def parse(output):
    values = {"boxes": []}
    for line in output.splitlines():
        key, _, value = line.partition("=")
        if key.startswith("box."):
            if key == "box.caption":
                values["boxes"].append({})
            values["boxes"][-1][key[4:]] = value
        else:
            values[key] = value
    return values


def text(hex_value):
    return bytes.fromhex(hex_value).decode("cp1252")


def run(scenario, build, cat, prefix, setup_build):
    failures = []
    root = tempfile.mkdtemp(prefix="quarnel-e2e-")
    own, other = system_folders(os.path.join(setup_build, "setup", "setup.exe"))
    roots = wine_host(prefix, root, own, other)
    ini = os.path.join(roots["WIN"], "TALMORIX.INI")
    package = os.path.join(root, "package")
    example = os.path.join(build, "example")
    created = lay_out(scenario, example, package, roots, ini,
                      data="D:\\Daten", prog="D:\\Programme\\Host")
    shutil.copy(os.path.join(setup_build, "setup", "setup.exe"), package)
    driver = os.path.join(build, "tests", "e2e", "e2e_driver.exe")
    shutil.copy(driver, os.path.join(package, "Warte.exe"))  # a slow follow-up program
    try:
        result = subprocess.run(["wine", driver, windows_path(os.path.join(package, "setup.exe"))]
                                + driver_actions(scenario),
                                capture_output=True, text=True, timeout=300)
        values = parse(result.stdout)
        if result.returncode != 0 or "error" in values:
            failures.append("driver: %s %s" % (values.get("error", ""), result.stdout[-2000:]))
        if "state.info" in values:
            failures += check_state(scenario, values, cat)
        if scenario.actions and scenario.actions[-1] == "escape":
            if values.get("exit") != "ended":
                failures.append("the program did not end on Escape")
            elif values.get("exitcode") != str(expected_exit_code(scenario)):
                failures.append("exit code %s, expected %d" % (values.get("exitcode"),
                                                              expected_exit_code(scenario)))
        failures += check_questions(scenario, values["boxes"], cat)
        failures += check_files(scenario, example, package, roots)
    finally:
        remove_host(created, root)
    return failures


def check_state(scenario, values, cat):
    failures = []
    shown = {
        "info": (expected_text(scenario.info, cat), text(values["state.info"])),
        "header": (scenario.header, text(values["state.header"])),
        "cancel": (scenario.cancel, text(values["state.cancel.text"])),
        "caption": (cat[57344], text(values["state.caption"])),
    }
    for name, (expected, actual) in shown.items():
        if not text_matches(expected, actual):
            failures.append("%s: expected %r, shown %r" % (name, expected, actual))
    flags = {
        "install button visible": (scenario.install_visible, values["state.install.visible"] == "1"),
        "progress bar visible": (scenario.progress is not None, values["state.progress.visible"] == "1"),
        "warning icon visible": (scenario.warning, values["state.warning.visible"] == "1"),
    }
    if scenario.install_visible:
        flags["install button is the default"] = (True, values["state.defid"] == "1")
    if scenario.cancel_is_default is not None:
        flags["Beenden drawn as the default button"] = (scenario.cancel_is_default,
                                                        values["state.cancel.default"] == "1")
    for name, (expected, actual) in flags.items():
        if expected != actual:
            failures.append("%s: expected %s" % (name, expected))
    if scenario.progress is not None and values["state.progress.pos"] != str(scenario.progress):
        failures.append("progress at %s, expected %s" % (values["state.progress.pos"], scenario.progress))
    return failures


def check_questions(scenario, boxes, cat):
    failures = []
    if len(boxes) != len(scenario.questions):
        return ["%d questions asked, expected %d" % (len(boxes), len(scenario.questions))]
    for box, question in zip(boxes, scenario.questions):
        asked = text(box["text"])
        if not text_matches(expected_text(question, cat), asked):
            failures.append("question %r" % asked)
        if text(box["caption"]) != cat[57344]:
            failures.append("question caption %r" % text(box["caption"]))
        if box["icon"] != "1" or box["yesno"] != "1" or box["defid"] != "6" or box["owner"] != "1":
            failures.append("question box: icon %s, yes/no %s, default %s, owned %s"
                            % (box["icon"], box["yesno"], box["defid"], box["owner"]))
    return failures


def main():
    build = os.path.abspath(sys.argv[1])
    cat = catalogue.read_strings(os.path.join(build, "setup", "setup.res"))
    prefix = os.environ["WINEPREFIX"]
    setup_build = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else build
    return run_scenarios(SCENARIOS + QUEUED_INPUT_SCENARIOS + AFTER_INSTALL_SCENARIOS,
                         lambda scenario: run(scenario, build, cat, prefix, setup_build))


if __name__ == "__main__":
    sys.exit(main())
