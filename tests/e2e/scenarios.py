"""End-to-end scenarios of the setup, shared by the POSIX and the Wine runner.

A scenario lays out a package folder and a host installation, runs the setup with a few actions
(install, answer yes/no, keys), and says what the dialog must show afterwards and what must be on
disk. Host paths are written with logical roots that each runner maps to its own folders:
DATA/ (the host's data folder, D:\\Daten under Wine), PROG/ (the ProgDir folder), WIN/ (the Windows
directory), SYS/ (the system directory the setup sees: under Wine the x86 setup's is syswow64) and
OTHERSYS/ (the system folder of the other architecture, where nothing may land).
"""

import re
from dataclasses import dataclass, field
from typing import Callable, Dict, List, Optional, Union

TITLE = "Quarnel ZTR Hotfix 3"
PROGRAM_DIR = "DATA/Client/program/"
OLD_RECORD = b"  Quarnel ZTR Hotfix 2"

IDS_INVALID_CONFIG = 62000
IDS_INTRO = 62001
IDS_NO_INSTALLATION = 62002
IDS_EXIT_BUTTON = 62003
IDS_NO_VERSION = 62004
IDS_CANNOT_RUN = 62005
IDS_TARGET_NOT_FOUND = 62006
IDS_COPY_FAILED = 62008
IDS_SUCCESS = 62009
IDS_LANGUAGE_DIFFERS = 62010
IDS_NEWER_EXISTS = 62011
IDS_PROGRAM_FAILED = 62012
IDS_NEWER_INSTALLED = 62013


@dataclass
class Payload:
    """A file of the built example: "package/Programm.exe" or "host/Daten/Client/program/Basis.dll"."""

    name: str


Content = Union[bytes, Payload, None]


@dataclass
class Scenario:
    name: str
    setup_inf: Optional[str]
    talmorix: Optional[str] = "[GENERAL-Directories]\r\nDataDir={DATA}\r\nProgDir={PROG}\r\n"
    actions: List[str] = field(default_factory=list)
    # What the dialog shows at the end: a text, or a pattern (re.Pattern) for texts that hold a
    # shortened path or a language name.
    info: Callable = None
    header: str = "  " + TITLE
    install_visible: bool = False
    progress: Optional[int] = None  # None: hidden
    warning: bool = True
    cancel: str = "&Beenden"
    questions: List[Callable] = field(default_factory=list)
    files: Dict[str, Content] = field(default_factory=dict)
    followup_ran: Optional[bool] = None
    # Further names the package holds the follow-up program under.
    followup_names: List[str] = field(default_factory=list)
    extra_host: Dict[str, Content] = field(default_factory=dict)
    extra_package: Dict[str, Content] = field(default_factory=dict)
    # Whether "Beenden" is drawn as the default button at the end; None: not looked at. Wine only.
    cancel_is_default: Optional[bool] = None


def numbered(number, build):
    """A text expectation that also knows its message number, for the exit code."""
    build.number = number
    return build


def message(number, *args):
    """A catalogue text: whole, or formatted with arguments as the setup formats it."""
    from catalogue import format_message

    return numbered(number, lambda cat: format_message(cat[number], *args) if args else cat[number])


def pattern(number, **fields):
    """A pattern of a catalogue text whose placeholders hold texts not known exactly."""

    def build(cat):
        text = re.escape(cat[number])
        for placeholder, value in fields.items():
            text = text.replace(re.escape("%" + placeholder[1:]), value)
        return re.compile(text, re.S)

    return numbered(number, build)


def joined(first, number):
    return numbered(number, lambda cat: first + "\r\n" + cat[number])


def inf(*lines):
    return "\r\n".join(lines) + "\r\n"


HEAD = ["[Installation]", "Bezeichnung=" + TITLE]
WORKED_EXAMPLE = "worked example"  # the package's own SETUP.INF

# The default host installation, before the run.
HOST = {
    PROGRAM_DIR + "Programm.exe": Payload("host/Daten/Client/program/Programm.exe"),  # 8.0.2.0
    PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll"),  # 8.0.3.0, English
    PROGRAM_DIR + "Stand.inf": b"Quarnel ZTR Programmstand\r\nService Pack 2\r\n8.0.4\r\n",
    PROGRAM_DIR + "Update.inf": OLD_RECORD,
    PROGRAM_DIR + "Hilfe.chm": b"Basis (Stand Hotfix 2)\r\n",
}

UNCHANGED = {
    PROGRAM_DIR + "Programm.exe": Payload("host/Daten/Client/program/Programm.exe"),
    PROGRAM_DIR + "Update.inf": OLD_RECORD,
}

INSTALLED = {
    PROGRAM_DIR + "Programm.exe": Payload("package/Programm.exe"),
    PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm"),
    "DATA/Vorlagen/Standard/Brief.dot": Payload("package/Brief.dot"),
    "SYS/laufzeit.dll": Payload("package/laufzeit.dll"),
    PROGRAM_DIR + "Update.inf": b"  " + TITLE.encode("cp1252"),
}

NEWER_QUESTION = message(IDS_NEWER_EXISTS, "Basis.dll")
LANGUAGE_QUESTION = pattern(IDS_LANGUAGE_DIFFERS, p1="Basis\\.dll", p2=".+", p3=".+")

SCENARIOS = [
    Scenario("no SETUP.INF", setup_inf=None, header="", actions=["escape"],
             info=message(IDS_INVALID_CONFIG), files=UNCHANGED),
    Scenario("no TALMORIX.INI", setup_inf=WORKED_EXAMPLE, talmorix=None, actions=["escape"],
             info=message(IDS_NO_INSTALLATION)),
    Scenario("empty DataDir", setup_inf=WORKED_EXAMPLE,
             talmorix="[GENERAL-Directories]\r\nDataDir=\r\nProgDir={PROG}\r\n",
             actions=["escape"], info=message(IDS_NO_INSTALLATION)),
    Scenario("ready, then Escape", setup_inf=WORKED_EXAMPLE, actions=["escape"],
             info=message(IDS_INTRO), install_visible=True, warning=False, cancel="&Abbrechen",
             files=UNCHANGED),
    Scenario("installed version older, with InfoText",
             setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.3",
                           "InfoText1=Bitte installieren Sie zuerst das Service Pack 3."),
             info=joined("Bitte installieren Sie zuerst das Service Pack 3.", IDS_CANNOT_RUN)),
    Scenario("installed version older, without InfoText",
             setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.3"),
             info=message(IDS_INTRO), install_visible=True, warning=False, cancel="&Abbrechen"),
    Scenario("installed version newer", setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe;8.0.1"),
             info=message(IDS_NEWER_INSTALLED)),
    Scenario("version text file, mixed-case extension",
             setup_inf=inf(*HEAD, "RequiredVersion1=STAND.Inf;8.0.3"),
             extra_host={PROGRAM_DIR + "STAND.Inf": b"Stand\r\nService Pack 2\r\n8.0.4\r\n"},
             info=message(IDS_NEWER_INSTALLED)),
    Scenario("required file without a version", setup_inf=inf(*HEAD, "RequiredVersion1=Basis.dll;8.0"),
             info=message(IDS_NO_VERSION)),
    Scenario("required entry without a file", setup_inf=inf(*HEAD, "RequiredVersion1=Programm.exe"),
             info=message(IDS_NO_VERSION)),
    Scenario("worked example, both questions answered yes", setup_inf=WORKED_EXAMPLE,
             actions=["install", "yes", "yes"], info=message(IDS_SUCCESS), progress=100,
             warning=False, questions=[NEWER_QUESTION, LANGUAGE_QUESTION],
             files={**INSTALLED, PROGRAM_DIR + "Basis.dll": Payload("package/Basis.dll")},
             followup_ran=True),
    Scenario("worked example, the newer file kept", setup_inf=WORKED_EXAMPLE,
             actions=["install", "no"], info=message(IDS_SUCCESS), progress=100, warning=False,
             questions=[NEWER_QUESTION],
             files={**INSTALLED,
                    PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll")},
             followup_ran=True),
    Scenario("worked example, the other language kept", setup_inf=WORKED_EXAMPLE,
             actions=["install", "yes", "no"], info=message(IDS_SUCCESS), progress=100,
             warning=False, questions=[NEWER_QUESTION, LANGUAGE_QUESTION],
             files={**INSTALLED,
                    PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll")},
             followup_ran=True),
    Scenario("a copy fails in the middle",
             setup_inf=inf(*HEAD, "EXEFile1=Nachlauf.exe /q", "[Block1]",
                           "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Programm.exe",
                           "File2=Fehlt.dll", "File3=Hilfe.chm"),
             actions=["install"],
             info=pattern(IDS_COPY_FAILED, p1=".*Fehlt\\.dll"),
             # Copied before the failure, and put back before it is shown.
             files={PROGRAM_DIR + "Programm.exe": Payload("host/Daten/Client/program/Programm.exe"),
                    PROGRAM_DIR + "Hilfe.chm": b"Basis (Stand Hotfix 2)\r\n",
                    PROGRAM_DIR + "Fehlt.dll": None,
                    PROGRAM_DIR + "Update.inf": OLD_RECORD},
             followup_ran=False),
    Scenario("a follow-up program with a blank in its path",
             setup_inf=inf(*HEAD, "EXEFile1=Nach lauf.exe /q", "[Block1]",
                           "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm"),
             actions=["install"], info=message(IDS_SUCCESS), progress=100, warning=False,
             followup_names=["Nach lauf.exe"], followup_ran=True),
    Scenario("a follow-up program cannot be started",
             setup_inf=inf(*HEAD, "EXEFile1=GibtEsNicht.exe /x", "[Block1]",
                           "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm"),
             actions=["install"], info=message(IDS_PROGRAM_FAILED, "GibtEsNicht.exe /x"),
             progress=None,
             files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm"),
                    PROGRAM_DIR + "Update.inf": b"  " + TITLE.encode("cp1252")}),
    Scenario("a block that does not resolve",
             setup_inf=inf(*HEAD, "[Block1]", "Section=GENERAL-Directories", "Pfad=DataDir",
                           "Subdir=Neu\\Tiefer", "File1=Brief.dot", "[Block2]",
                           "Section=GENERAL-Directories", "Pfad=Fehlt", "File1=Hilfe.chm"),
             actions=["install"], info=message(IDS_TARGET_NOT_FOUND, "Fehlt"),
             files={"DATA/Neu/Tiefer/": b"", "DATA/Neu/Tiefer/Brief.dot": None,
                    PROGRAM_DIR + "Hilfe.chm": b"Basis (Stand Hotfix 2)\r\n"}),
    Scenario("no file entries", setup_inf=inf(*HEAD, "[Block1]", "Section=WINDOWS_DIR", "Pfad=SYSTEM"),
             actions=["install"], info=message(IDS_INVALID_CONFIG)),
    Scenario("Windows and system directory",
             setup_inf=inf(*HEAD, "[Block1]", "Section=WINDOWS_DIR", "Pfad=WINDIR",
                           "Subdir=Nie", "File1=Hilfe.chm", "[Block2]", "Section=WINDOWS_DIR",
                           "Pfad=windir", "File1=Brief.dot"),
             actions=["install"], info=message(IDS_SUCCESS), progress=100, warning=False,
             files={"WIN/Hilfe.chm": Payload("package/Hilfe.chm"),
                    "SYS/Brief.dot": Payload("package/Brief.dot"), "OTHERSYS/Brief.dot": None,
                    "WIN/Nie/": None}),
    Scenario("install command in the error state does nothing", setup_inf=None, header="",
             actions=["command-ok", "enter"], info=message(IDS_INVALID_CONFIG), files=UNCHANGED),
    Scenario("install command after success does nothing",
             setup_inf=inf(*HEAD, "EXEFile1=Nachlauf.exe /q", "[Block1]",
                           "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm"),
             actions=["install", "command-ok"], info=message(IDS_SUCCESS), progress=100,
             warning=False, followup_ran=True),
]

# Input that queues up while the installation runs (the setup takes none then): a person's click
# on "Abbrechen" and Escape while a slow follow-up program runs, and Enter pressed before the first
# question. Only the Wine runner can queue hardware input; piped input on POSIX is a script.
SLOW_FOLLOWUP = "Warte.exe sleep 4000"  # the runner puts a program that waits there
QUEUED_INPUT_SCENARIOS = [
    Scenario("a queued click on Abbrechen and Escape leave the dialog open",
             setup_inf=inf(*HEAD, "EXEFile1=" + SLOW_FOLLOWUP, "[Block1]",
                           "Section=GENERAL-Directories", "Pfad=ProgDir", "File1=Hilfe.chm"),
             actions=["queue-cancel"], info=message(IDS_SUCCESS), progress=100, warning=False,
             files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm")}),
    Scenario("a queued Enter does not answer the question", setup_inf=WORKED_EXAMPLE,
             actions=["queue-enter", "no"], info=message(IDS_SUCCESS), progress=100,
             warning=False, questions=[NEWER_QUESTION],
             files={**INSTALLED,
                    PROGRAM_DIR + "Basis.dll": Payload("host/Daten/Client/program/Basis.dll")},
             followup_ran=True),
]

# The install command's Tab reaches the dialog manager after the installation, which has dropped
# the input queued meanwhile: "Beenden" is the default button then, so Enter ends the setup and
# never goes to the hidden install button. Only the Wine runner sees the dialog manager.
AFTER_INSTALL_SCENARIOS = [
    Scenario("after the install the default button is Beenden",
             setup_inf=inf(*HEAD, "[Block1]", "Section=GENERAL-Directories", "Pfad=ProgDir",
                           "File1=Hilfe.chm"),
             actions=["install", "settle"], info=message(IDS_SUCCESS), progress=100,
             warning=False, files={PROGRAM_DIR + "Hilfe.chm": Payload("package/Hilfe.chm")},
             cancel_is_default=True),
]


def expected_exit_code(scenario):
    """The Windows exit code of a run that ended where the scenario leaves the dialog: success,
    the error state's number, or 1602 when it was closed in the ready state."""
    number = scenario.info.number
    return {IDS_SUCCESS: 0, IDS_INTRO: 1602}.get(number, number)


def posix_exit_status(code):
    """The POSIX setup's exit status for a Windows exit code."""
    return 0 if code == 0 else 2 if code == 87 else 1


def expected_text(expected, cat):
    return expected(cat) if callable(expected) else expected


def text_matches(expected, actual):
    if isinstance(expected, re.Pattern):
        return expected.fullmatch(actual) is not None
    return expected == actual
