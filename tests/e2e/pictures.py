"""Takes the pictures of the dialog shown in the README: setup.exe under Wine, driven by
e2e_driver.exe, photographed with imagemagick's import at each state and cut to the dialog.
They show what a German customer sees: Wine runs under the German locale (so the message boxes
say "Ja" and "Nein"), in a virtual desktop of its own, whose window manager draws the frames and
captions that a bare X display leaves out.

Usage: pictures.py <windows-x64 build folder> <output folder>; WINEPREFIX and DISPLAY must be set
up (see run-wine.sh)."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from layout import lay_out, wine_host  # noqa: E402
from scenarios import HEAD, SCENARIOS, WORKED_EXAMPLE, Scenario, inf  # noqa: E402

GERMAN = "de_DE.UTF-8"
DESKTOP = (800, 600)
COPY_FAILS = next(s for s in SCENARIOS if s.name == "a copy fails in the middle")
SLOW = Scenario("slow follow-up", setup_inf=inf(
    *HEAD, "EXEFile1=Warte.exe sleep 3000", "[Block1]", "Section=GENERAL-Directories",
    "Pfad=ProgDir", "File1=Hilfe.chm", "[Block2]", "Section=GENERAL-Directories", "Pfad=DataDir",
    "Subdir=Vorlagen\\Standard", "File1=Brief.dot"))
RUNS = [
    (Scenario("worked example", setup_inf=WORKED_EXAMPLE),
     ["shot:ready", "click:1", "waitend", "sleep:500", "shot:question", "answer:no", "waitend",
      "settle", "shot:success", "minimise", "settle", "shot:minimised"]),
    (SLOW, ["click:1", "sleep:1500", "shot:copy", "waitend"]),
    (COPY_FAILS, ["click:1", "waitend", "settle", "shot:error"]),
]


def take(build, scenario, actions, out, prefix):
    root = tempfile.mkdtemp(prefix="quarnel-pictures-")
    roots = wine_host(prefix, root)
    windir = roots["WIN"]
    package = os.path.join(root, "package")
    lay_out(scenario, os.path.join(build, "example"), package, roots,
            os.path.join(windir, "TALMORIX.INI"), data="D:\\Daten", prog="D:\\Programme\\Host")
    driver = os.path.join(build, "tests", "e2e", "e2e_driver.exe")
    shutil.copy(os.path.join(build, "setup", "setup.exe"), package)
    shutil.copy(driver, os.path.join(package, "Warte.exe"))
    # Started from D:, where the package lies beside the host, so that the copy texts show short
    # paths. The desktop lies at the display's top left, so the driver's screen coordinates are
    # the display's.
    env = dict(os.environ, LANG=GERMAN, LC_ALL=GERMAN)
    with subprocess.Popen(["wine", "explorer", "/desktop=QuarnelPictures,%dx%d" % DESKTOP, driver,
                           "D:\\package\\setup.exe"] + actions,
                          stdout=subprocess.PIPE, text=True, cwd=root, env=env) as run:
        for line in run.stdout:
            if not line.startswith("shot="):
                continue
            name, left, top, right, bottom = line[5:].split()
            left, top, right, bottom = int(left), int(top), int(right), int(bottom)
            whole = name == "minimised"  # an iconic window has no place of its own to cut to
            crop = [] if whole else ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top,
                                                                max(left, 0), max(top, 0)), "+repage"]
            if whole:
                crop = ["-crop", "%dx%d+0+0" % DESKTOP, "+repage"]
            subprocess.run(["import", "-window", "root"] + crop
                           + [os.path.join(out, name + ".png")], check=True)
            open(os.path.join(root, name + ".taken"), "w").close()
    shutil.rmtree(root, ignore_errors=True)


def main():
    build, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    for scenario, actions in RUNS:
        take(build, scenario, actions, out, os.environ["WINEPREFIX"])


if __name__ == "__main__":
    main()
