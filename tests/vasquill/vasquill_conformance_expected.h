// What the support tool expects to find in Vasquill.dll, written down independently of
// vasquill.rc: the menu, the shortcut keys, the dialog templates and their controls, the strings
// and the pictures, all under language 0x0409.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vasquill_expected {

// Window and control styles, as stored in the templates.
enum : uint32_t {
    WS_POPUP = 0x80000000,
    WS_CHILD = 0x40000000,
    WS_VISIBLE = 0x10000000,
    WS_DISABLED = 0x08000000,
    WS_CAPTION = 0x00C00000,
    WS_BORDER = 0x00800000,
    WS_VSCROLL = 0x00200000,
    WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000,
    WS_GROUP = 0x00020000,
    WS_TABSTOP = 0x00010000,
    DS_MODALFRAME = 0x80,
    DS_SETFONT = 0x40,
    BS_PUSHBUTTON = 0x0,
    BS_DEFPUSHBUTTON = 0x1,
    BS_AUTOCHECKBOX = 0x3,
    BS_GROUPBOX = 0x7,
    BS_AUTORADIOBUTTON = 0x9,
    BS_PUSHLIKE = 0x1000,
    SS_LEFT = 0x0,
    SS_CENTER = 0x1,
    SS_RIGHT = 0x2,
    SS_BITMAP = 0xE,
    SS_ETCHEDHORZ = 0x10,
    SS_REALSIZEIMAGE = 0x800,
    SS_SUNKEN = 0x1000,
    ES_MULTILINE = 0x4,
    ES_AUTOHSCROLL = 0x80,
    ES_WANTRETURN = 0x1000,
    CBS_DROPDOWN = 0x2,
    CBS_DROPDOWNLIST = 0x3,
    CBS_SORT = 0x100,
    LVS_REPORT = 0x1,
    LVS_SINGLESEL = 0x4,
    LVS_NOCOLUMNHEADER = 0x4000,
    WS_EX_STATICEDGE = 0x20000,
};

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kPicture = kChild | SS_BITMAP | SS_REALSIZEIMAGE | SS_SUNKEN;
constexpr uint32_t kNavButton = kChild | BS_AUTORADIOBUTTON | BS_PUSHLIKE;
constexpr uint32_t kNavLabel = kChild | WS_GROUP | SS_CENTER;
constexpr uint32_t kLabel = kChild | SS_LEFT;
constexpr uint32_t kHeading = kChild | WS_GROUP | SS_LEFT;
constexpr uint32_t kEtched = kChild | SS_ETCHEDHORZ;
constexpr uint32_t kField = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr uint32_t kDropList = kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr uint32_t kButton = kChild | BS_PUSHBUTTON;

struct Control {
    int id;
    const char* cls; // "Button", "Static", ...; an ordinal text is written "#<number>"
    const char* text;
    int x, y, cx, cy;
    uint32_t style;
    uint32_t exStyle;
};

struct Dialog {
    int number;
    bool extended;
    uint32_t style;
    int cx, cy;
    const char* caption;
    int pointSize;
    const char* face;
    int charset; // extended templates only
    std::vector<Control> controls;
};

inline const std::vector<Dialog>& ToolDialogs() {
    static const std::vector<Dialog> dialogs = {
        {101,
         true,
         DS_SETFONT | WS_CHILD,
         130,
         280,
         "",
         9,
         "Arial",
         0,
         {
             {-1, "Static", "#134", 7, 7, 29, 27, kPicture, 0},
             {1003, "Button", "Support request", 38, 7, 90, 27, kNavButton, 0},
             {-1, "Static", "#131", 7, 38, 29, 27, kPicture, 0},
             {1000, "Button", "System info", 38, 38, 90, 27, kNavButton, 0},
             {-1, "Static", "#132", 7, 69, 29, 27, kPicture, 0},
             {1001, "Button", "Program info", 38, 69, 90, 27, kNavButton, 0},
             {-1, "Static", "#133", 7, 100, 29, 27, kPicture, 0},
             {1002, "Button", "Configuration files", 38, 100, 90, 27, kNavButton, 0},
             {-1, "Static", "#144", 7, 131, 29, 27, kPicture, 0},
             {1007, "Button", "Help", 38, 131, 90, 27, kNavButton, 0},
             {-1, "Button", "", 6, 172, 123, 100, kChild | BS_GROUPBOX, 0},
             {1004, "Static", "VasQuill", 10, 182, 115, 10, kNavLabel, 0},
             {1006, "Static", "Release", 11, 195, 112, 8, kNavLabel, 0},
             {1055, "Static", "Caption", 12, 210, 112, 8, kNavLabel, 0},
             {-1, "Static", nullptr, 9, 221, 116, 8, kNavLabel, 0}, // the maker's line: any text
             {1005, "Static", "Korvessa Homepage", 11, 239, 112, 8, kNavLabel, 0},
             {1008, "Static", "Service Releases", 11, 249, 112, 8, kNavLabel, 0},
             {1009, "Static", "FAQs", 11, 259, 112, 8, kNavLabel, 0},
         }},
        {106,
         false,
         DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION,
         210,
         90,
         "Filename",
         9,
         "Arial",
         0,
         {
             {1008, "Button", "Save", 3, 3, 50, 12, kButton | WS_TABSTOP | WS_DISABLED, 0},
             {1007, "Edit", "", 4, 20, 201, 65,
              kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 0},
         }},
        {107, false, DS_SETFONT | WS_CHILD, 180, 90, "", 8, "MS Sans Serif", 0, {}},
        {108,
         false,
         DS_SETFONT | WS_CHILD,
         317,
         212,
         "",
         9,
         "Arial",
         0,
         {
             {1031, "Static", "1. Select the teamline", 5, 5, 113, 8, kHeading, 0},
             {-1, "Static", "", 6, 15, 116, 1, kEtched, 0},
             {1009, "ComboBox", "", 6, 19, 98, 60, kDropList, 0},
             {1039, "Button", "...", 106, 19, 15, 12, kButton | WS_TABSTOP, 0},
             {1038, "SysListView32", "List1", 6, 36, 115, 50,
              kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER, 0},
             {1032, "Static", "2. Enter your contact information", 135, 5, 178, 8, kHeading, 0},
             {1027, "Static", "", 135, 15, 170, 1, kEtched, 0},
             {-1, "Static", "Company", 135, 21, 31, 8, kLabel, 0},
             {1011, "Edit", "", 184, 19, 120, 12, kField, 0},
             {-1, "Static", "Contact", 135, 34, 36, 8, kLabel, 0},
             {1012, "ComboBox", "", 184, 33, 40, 30, kDropList, 0},
             {1013, "Edit", "", 227, 33, 77, 12, kField, 0},
             {-1, "Static", "Street", 135, 48, 26, 8, kLabel, 0},
             {1014, "Edit", "", 184, 47, 120, 12, kField, 0},
             {-1, "Static", "ZIP code/City", 135, 62, 42, 8, kLabel, 0},
             {1015, "Edit", "", 184, 61, 120, 12, kField, 0},
             {-1, "Static", "Telephone ", 135, 77, 36, 8, kLabel, 0},
             {1016, "Edit", "", 184, 75, 45, 12, kField, 0},
             {1030, "Static", "Fax", 233, 77, 12, 8, kLabel, 0},
             {1017, "Edit", "", 259, 75, 45, 12, kField, 0},
             {-1, "Static", "Email", 135, 90, 19, 8, kLabel, 0},
             {1018, "Edit", "", 184, 89, 45, 12, kField, 0},
             {1029, "Static", "Cust. #", 233, 91, 23, 8, kLabel, 0},
             {1019, "Edit", "", 259, 89, 45, 12, kField, 0},
             {1033, "Static", "3. Enter your support request", 6, 110, 150, 8, kHeading, 0},
             {1028, "Static", "", 6, 120, 298, 1, kEtched, 0},
             {-1, "Static", "Program", 6, 126, 35, 8, kLabel, 0},
             {1020, "ComboBox", "", 44, 124, 100, 60, kDropList, 0},
             {-1, "Static", "Area", 152, 126, 25, 8, kLabel, 0},
             {1022, "ComboBox", "", 181, 124, 100, 60,
              kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 0},
             {-1, "Static", "Description of problem", 6, 142, 72, 8, kLabel, 0},
             {1023, "Edit", "", 6, 152, 298, 37,
              kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 0},
             {1024, "Button", "&Output...", 6, 194, 50, 12, kButton, 0},
             {1026, "Button", "Include configuration files", 63, 194, 148, 12,
              kChild | BS_AUTOCHECKBOX, 0},
         }},
        {139,
         false,
         DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
         203,
         165,
         "Edit teamlines",
         9,
         "Arial",
         0,
         {
             {1043, "ComboBoxEx32", "", 6, 6, 190, 60, kDropList | CBS_SORT, 0},
             {-1, "Static", "", 6, 24, 190, 1, kEtched, 0},
             {-1, "Static", "Name", 6, 32, 20, 8, kLabel, 0},
             {1013, "Edit", "", 6, 42, 190, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "Location", 6, 58, 28, 8, kLabel, 0},
             {1015, "Edit", "", 6, 68, 190, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "Telephone", 6, 84, 35, 8, kLabel, 0},
             {1016, "Edit", "", 6, 94, 90, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "Fax", 106, 84, 19, 8, kLabel, 0},
             {1017, "Edit", "", 106, 94, 90, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "Email", 6, 110, 19, 8, kLabel, 0},
             {1018, "Edit", "", 6, 120, 90, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "Homepage", 106, 110, 36, 8, kLabel, 0},
             {1019, "Edit", "", 106, 120, 90, 12, kField | WS_DISABLED, 0},
             {-1, "Static", "", 6, 142, 190, 1, kEtched, 0},
             {1041, "Button", "&New", 6, 147, 50, 12, kButton, 0},
             {1042, "Button", "Delete", 61, 147, 50, 12, kButton | WS_DISABLED, 0},
             {2, "Button", "&Close", 145, 147, 50, 12, kButton, 0},
         }},
        {143,
         true,
         DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
         381,
         195,
         "Output",
         9,
         "Arial",
         1,
         {
             {1045, "Button", "Print preview...", 3, 3, 60, 12, kButton | WS_TABSTOP, 0},
             {1024, "Button", "Print...", 65, 3, 60, 12, kButton | WS_TABSTOP, 0},
             {1050, "Button", "HTML file...", 128, 3, 60, 12, kButton | WS_TABSTOP, 0},
             {1046, "Button", "Email...", 191, 3, 60, 12, kButton | WS_TABSTOP, 0},
             {1052, "Button", "Copy", 253, 3, 60, 12, kButton | WS_TABSTOP, 0},
             {2, "Button", "Close", 326, 3, 50, 12, kButton | WS_TABSTOP, 0},
             {1047, "Static", "HTML", 3, 21, 373, 163, kHeading, WS_EX_STATICEDGE},
         }},
    };
    return dialogs;
}

// The framework's own templates: their size, caption and controls by number and text (their
// layout is the framework's affair).
struct FrameworkControl {
    int id;
    const char* cls;
    const char* text;
};

struct FrameworkDialog {
    int number;
    uint32_t requiredStyle; // style bits the template must have; it may have others
    int cx, cy;
    const char* caption;
    std::vector<FrameworkControl> controls;
};

inline const std::vector<FrameworkDialog>& FrameworkDialogs() {
    static const std::vector<FrameworkDialog> dialogs = {
        {30721,
         WS_POPUP | DS_MODALFRAME,
         183,
         70,
         "New",
         {{-1, "Static", "&New"},
          {100, "ListBox", ""},
          {1, "Button", "OK"},
          {2, "Button", "Cancel"},
          {57670, "Button", "&Help"}}},
        {30722,
         WS_POPUP | WS_CAPTION,
         181,
         87,
         "",
         {{-1, "Static", "Print"},
          {-1, "Static", "Document:"},
          {201, "Static", ""},
          {-1, "Static", "Page:"},
          {204, "Static", ""},
          {-1, "Static", "Printer:"},
          {202, "Static", ""},
          {-1, "Static", "Port:"},
          {203, "Static", ""},
          {2, "Button", "Cancel"}}},
        {30723,
         WS_CHILD,
         330,
         16,
         "",
         {{58116, "Button", "&Print..."},
          {58114, "Button", "&Next"},
          {58115, "Button", "Pre&vious"},
          {58113, "Button", ""},
          {58117, "Button", "&Enlarge"},
          {58118, "Button", "&Reduce"},
          {58112, "Button", "&Close"}}},
        {30734, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 183, 70, "", {}},
    };
    return dialogs;
}

struct Text {
    int id;
    const char* text;
};

// The tool's own strings and the framework's strings whose wording is fixed.
inline const std::vector<Text>& FixedStrings() {
    static const std::vector<Text> strings = {
        {128, "Vasquill"},
        {57344, "Vasquill"},
        {57345, "Ready"},
        {32771, "Starts Quarnel Orvantis Pivora"},
        {32773, "Selects German for the language"},
        {32774, "Selects English for the language"},
        {61204, "File %1 has been changed. Would you like to save the changes?"},
        {61206, "<new teamline>"},
        {61264, "Support request"},
        {61265, "You have not selected a teamline. Unable to carry out the function."},
        {61266, "Contact person"},
        {61267, "Customer number"},
        {61268, "Description of problem"},
        {61269, "Contents"},
        {61270, "You have not specified an email address for the selected teamline."},
        {61271, "Please fill out all the fields and enter a description of the problem.\nIf you "
                "cannot fill out a field as you do not have an email address or do not know your "
                "customer number, for example, do not leave the field blank. Enter \"not "
                "available\" or \"unknown\" instead."},
        {61296, "Mr"},
        {61297, "Ms"},
        {61207, "System information"},
        {61208, "Hardware"},
        {61209, "Computer"},
        {61210, "Processor"},
        {61211, "RAM"},
        {61212, "Drives"},
        {61213, "Standard printer"},
        {61214, "Version"},
        {61215, "Graphics"},
        {61216, "Windows folder"},
        {61217, "System folder"},
        {61218, "Temporary folder"},
        {61234, "Capacity"},
        {61235, "Free"},
        {61236, "File system"},
        {61237, "Pixels"},
        {61250, "Floppy"},
        {61251, "Removable medium"},
        {61252, "Hard disk"},
        {61253, "Network"},
        {61254, "Small fonts"},
        {61255, "Large fonts"},
        {61256, "Colors"},
        {61263, "Swap file"},
        {61302, "Automatic"},
        {61219, "Program information"},
        {61220, "Folders"},
        {61221, "Configuration file"},
        {61222, "- not found -"},
        {61223, "Program folder"},
        {61224, "Data folder"},
        {61225, "Reports"},
        {61226, "Local folder"},
        {61227, "OKM"},
        {61233, "Belmoray"},
        {61238, "Program file"},
        {61240, "see"},
        {61241, "Module"},
        {61275, "Program files"},
        {61276, "Runtime libraries"},
        {61277, "missing!"},
        {61278, "Service releases"},
        {61279, "Program"},
        {61280, "Service release as of"},
        {61281, "Desktop folder (user)"},
        {61282, "Start menu folder (user)"},
        {61283, "System folder"},
        {61284, "Program folder"},
        {61285, "Start menu folder (shared)"},
        {61286, "Desktop folder (shared)"},
        {61287, "List&label libraries"},
        {61289, "OKM"},
        {61290, "Belmoray"},
        {61291, "Tessadrin"},
        {61292, "WEL"},
        {61293, "Application"},
        {61294, "Reports"},
        {61295, "Installation"},
        {61298, "Last installed on:"},
        {61299, "Quarnel Belmoray"},
        {61300, "Quarnel Orvantis"},
        {61261, "Yes"},
        {61262, "No"},
        {59136, "ER"},
        {59137, "UF"},
        {59138, "NUM"},
        {59139, "RF"},
        {59140, "OV"},
        {59141, "MA"},
        {61505, "&One page"},
        {61506, "&Two pages"},
        {61507, "Page %u"},
        {61508, "Page %u\nPages %u-%u\n"},
        {61510, "Output.prn"},
        {61511, "Printer files (*.prn)|*.prn|All files (*.*)|*.*||"},
        {61840, "Unable to load the support for the mailing system."},
        {61841, "The DLL of the mailing system is invalid."},
        {61842, "Error while sending note."},
        {61888, "Pixels"},
    };
    return strings;
}

// Every string number of the library: the tool's own (with the eight module codes 61242 to
// 61249) and the framework's ranges.
inline std::vector<int> AllStringNumbers() {
    const int ranges[][2] = {
        {128, 128},     {32771, 32771}, {32773, 32774}, {57344, 57345}, {57632, 57637},
        {57640, 57644}, {57653, 57653}, {57664, 57665}, {57680, 57681}, {59136, 59141},
        {59393, 59393}, {61184, 61190}, {61202, 61204}, {61206, 61227}, {61233, 61238},
        {61240, 61256}, {61261, 61271}, {61275, 61287}, {61289, 61300}, {61302, 61302},
        {61440, 61443}, {61446, 61446}, {61457, 61457}, {61472, 61477}, {61504, 61513},
        {61696, 61710}, {61712, 61724}, {61728, 61734}, {61744, 61745}, {61836, 61837},
        {61840, 61842}, {61856, 61870}, {61872, 61879}, {61888, 61888}, {62177, 62179},
    };
    std::vector<int> numbers;
    for (const auto& range : ranges)
        for (int id = range[0]; id <= range[1]; ++id)
            numbers.push_back(id);
    return numbers;
}

// The tool's own strings (which must not begin or end with a blank).
inline bool IsToolString(int id) {
    return id == 128 || (id >= 32771 && id <= 32774) || id == 61204 || (id >= 61206 && id <= 61302);
}

struct Picture {
    int number;
    int width, height, bits;
};

inline const std::vector<Picture>& Bitmaps() {
    static const std::vector<Picture> bitmaps = {
        {131, 48, 48, 8}, {132, 48, 48, 8}, {133, 48, 48, 8}, {134, 48, 48, 8},
        {144, 48, 48, 8}, {137, 30, 15, 4}, {142, 80, 16, 8}, {148, 32, 32, 8},
    };
    return bitmaps;
}

inline std::vector<int> CursorGroups() {
    std::vector<int> groups = {30977, 30978};
    for (int id = 30998; id <= 31011; ++id)
        groups.push_back(id);
    return groups;
}

} // namespace vasquill_expected
