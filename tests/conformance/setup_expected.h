// The setup's resources as they must come out of the build: every value here is written out
// independently of the .rc file, so a slip in either shows up as a difference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace conformance {

constexpr uint16_t kGerman = 0x0407;

struct ExpectedControl {
    int id;
    uint16_t classAtom;    // 0x80 button, 0x82 static; 0 for a named class
    const char* className; // for a named class, compared without regard to case
    std::u16string text;   // for a text
    uint16_t imageOrdinal; // for an icon or bitmap shown by number; then `text` is unused
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
};

constexpr uint32_t kWsExTransparent = 0x20;

inline const std::vector<ExpectedControl>& ExpectedControls() {
    static const std::vector<ExpectedControl> controls = {
        {1005, 0x82, "", u"", 0, 0x50020200, kWsExTransparent, 14, 3, 224, 29},
        {1010, 0x82, "", u"", 0, 0x50000010, 0, 1, 35, 278, 1},
        {1007, 0x82, "", u"Info", 0, 0x50020000, 0, 14, 41, 230, 60},
        {1009, 0x82, "", u"", 140, 0x40000803, 0, 248, 41, 20, 20},
        {1003, 0, "msctls_progress32", u"Progress1", 0, 0x40000000, 0, 14, 110, 254, 14},
        {1011, 0x82, "", u"", 0, 0x50000010, 0, 1, 133, 278, 1},
        {1, 0x80, "", u"&Installieren", 0, 0x50010001, 0, 166, 140, 50, 12},
        {2, 0x80, "", u"&Abbrechen", 0, 0x50010000, 0, 223, 140, 50, 12},
        {-1, 0x82, "", u"", 145, 0x5000080E, kWsExTransparent, 243, 5, 27, 26},
    };
    return controls;
}

struct ExpectedString {
    uint32_t id;
    std::u16string text;
};

inline const std::vector<ExpectedString>& ExpectedStrings() {
    static const std::vector<ExpectedString> strings = {
        {57344, u"Quarnel ZTR Setup"},
        {62000, u"Die Konfigurationsdatei f\u00FCr das Setup ist ung\u00FCltig oder nicht "
                u"vorhanden.\r\nDas Setup kann nicht ausgef\u00FChrt werden."},
        {62001, u"Dieses Setup f\u00FCgt zus\u00E4tzliche Dateien zur Ihrer vorhandenen Quarnel "
                u"ZTR-Installation hinzu bzw. ersetzt bestehende Dateien mit neueren "
                u"Versionen.\r\n\r\nStarten Sie das Setup, indem Sie 'Installieren' w\u00E4hlen "
                u"oder beenden Sie mit 'Abbrechen' das Setup, ohne die Dateien zu installieren."},
        {62002, u"Es wurde keine bestehende Quarnel ZTR-Installation gefunden\r\nDas Setup kann "
                u"nicht ausgef\u00FChrt werden."},
        {62003, u"&Beenden"},
        {62004, u"Fehler beim Ermitteln der installierten Programmversion.\r\nDas Setup kann nicht "
                u"ausgef\u00FChrt werden."},
        {62005, u"Das Setup kann nicht ausgef\u00FChrt werden."},
        {62006, u"Das angegebene Zielverzeichnis '%1' konnte nicht gefunden werden.\r\nDas Setup "
                u"kann nicht ausgef\u00FChrt werden."},
        {62007, u"Kopieren von:\r\n%1\r\n\r\nnach:\r\n%2"},
        {62008, u"Beim Installieren der Datei:\r\n%1\r\nist ein Fehler aufgetreten.\r\n\r\nDas "
                u"Setup konnte nicht vollst\u00E4ndig ausgef\u00FChrt werden."},
        {62009, u"Das Setup wurde erfolgreich ausgef\u00FChrt."},
        {62010, u"Auf Ihrem Rechner existiert bereits eine Datei %1 in der Sprachversion %2, das "
                u"Setup hingegen enth\u00E4lt die gleiche Datei in der Sprachversion "
                u"%3.\r\n\r\nSoll die vorhandene Version ersetzt werden?"},
        {62011, u"Auf Ihrem Rechner existiert bereits eine Datei %1 in einer neueren Version als "
                u"im Setup.\r\nSoll die vorhandene Version wirklich ersetzt werden?"},
        {62012, u"Beim Ausf\u00FChren des Programmes %1 ist ein Fehler aufgetreten.\r\nDas Setup "
                u"konnte nicht vollst\u00E4ndig ausgef\u00FChrt werden."},
        {62013, u"Es ist bereits eine neuere Version installiert.\r\n\r\nDas Setup kann nicht "
                u"ausgef\u00FChrt werden."},
        {62014, u"Es wird bereits ein anderes Setup ausgef\u00FChrt.\r\nDas Setup kann nicht "
                u"ausgef\u00FChrt werden."},
        {62015, u"Die Angabe '%2' in der Befehlszeile ist unbekannt oder "
                u"unvollst\u00E4ndig.\r\n\r\nDas Setup kennt diese Angaben:\r\n%1quiet\t\tohne "
                u"Fenster und ohne R\u00FCckfragen installieren\r\n%1passive\tmit "
                u"Fortschrittsanzeige, ohne R\u00FCckfragen installieren\r\n%1answer "
                u"yes|no\tdie R\u00FCckfragen zum Ersetzen beantworten (Vorgabe: "
                u"no)\r\n%1log Datei\tein Protokoll in die Datei schreiben\r\n\r\nDas Setup "
                u"kann nicht ausgef\u00FChrt werden."},
        {62016, u"Die Daten zum Wiederherstellen der Installation k\u00F6nnen nicht sicher "
                u"gespeichert werden.\r\nDas Setup kann nicht ausgef\u00FChrt werden."},
        {62017, u"Die Protokolldatei '%1' konnte nicht angelegt werden.\r\nDas Setup kann nicht "
                u"ausgef\u00FChrt werden."},
    };
    return strings;
}

struct ExpectedIconImage {
    uint16_t size;
    uint16_t bitCount;
};

struct ExpectedIcon {
    uint16_t name;
    std::vector<ExpectedIconImage> images; // in directory order
};

inline const std::vector<ExpectedIcon>& ExpectedIcons() {
    static const std::vector<ExpectedIcon> icons = {
        {128, {{32, 8}, {16, 8}}},
        {140, {{32, 4}, {16, 4}, {32, 8}, {16, 8}}},
    };
    return icons;
}

struct ExpectedVersionString {
    const char* key;
    const char* value; // CP1252
};

// In stored order.
inline const std::vector<ExpectedVersionString>& ExpectedVersionStrings() {
    static const std::vector<ExpectedVersionString> strings = {
        {"Comments", ""},
        {"CompanyName", "Korvessa"},
        {"FileDescription", "Setup-Programm f\xFCr Quarnel ZTR Hotfixe"},
        {"FileVersion", "15.0.0.0"},
        {"InternalName", "SETUP"},
        {"LegalCopyright", "Copyright \xA9 Korvessa. Alle Rechte vorbehalten."},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "SETUP.EXE"},
        {"PrivateBuild", ""},
        {"ProductName", "Quarnel ZTR Setup"},
        {"ProductVersion", "15.0.0"},
        {"SpecialBuild", ""},
    };
    return strings;
}

// DLLs the setup may import: the system's own, which the loader takes from the system folder.
// A MinGW runtime DLL would have to lie beside the setup, and version.dll is loaded at run time
// from the system folder instead, so that the download folder is never searched.
inline const std::vector<std::string>& AllowedImports() {
    static const std::vector<std::string> dlls = {
        "kernel32.dll", "user32.dll",  "gdi32.dll",    "msvcrt.dll",
        "advapi32.dll", "shell32.dll", "comctl32.dll", "ntdll.dll",
    };
    return dlls;
}

} // namespace conformance
