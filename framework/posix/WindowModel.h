// The POSIX window model: a dialog and its controls as built from the dialog template, the only
// place where control state lives on POSIX. CWnd and the GDI classes operate on it.
//
// Coordinates are dialog units throughout, a window's screen position being the dialog's template
// position plus the control's offset. Text is measured in character cells of 4 x 8 dialog units
// (which is what a dialog unit is defined by), so a control of 230 units' width fits 57 characters.
#pragma once

#include "framework/WinDefs.h"
#include "framework/posix/FrontEnd.h"
#include "resources/DialogTemplate.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

class CDialog;

struct PosixIcon {
    UINT id = 0;
    int size = 0;
};

struct PosixFont {
    int height = 0;
    int weight = 0;
    std::string face;
};

struct PosixBrush {
    COLORREF color = 0;
};

struct PosixDC {
    PosixWindow* window = nullptr;
    COLORREF bkColor = RGB(255, 255, 255);
    HFONT font = nullptr;
};

struct PosixMessage {
    PosixWindow* target = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct PosixWindow {
    PosixWindow* parent = nullptr; // nullptr for the dialog itself
    int id = 0;
    std::string className;
    std::string text;
    UINT imageId = 0; // the icon or bitmap a static control shows by number; 0 for none
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{}; // in the parent's client area; for the dialog, on the screen
    int progressPos = 0;
    HFONT font = nullptr;

    // The dialog only.
    std::vector<std::unique_ptr<PosixWindow>> children;
    std::unique_ptr<PosixFont> dialogFont;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    PosixWindow* focus = nullptr;
    CDialog* owner = nullptr;
    std::deque<PosixMessage> posted;
    bool ended = false;
    int result = 0;

    PosixWindow* Dialog() { return parent != nullptr ? parent : this; }
    bool IsButton() const;
    bool IsProgress() const;
    bool IsVisible() const { return (style & WS_VISIBLE) != 0; }
    PosixWindow* Child(int nID) const;
};

namespace framework_posix {

constexpr int kCellWidth = 4;  // dialog units per character
constexpr int kCellHeight = 8; // dialog units per line

// The dialog and its controls, all hidden state as the template gives it.
std::unique_ptr<PosixWindow> BuildDialogWindow(const resources::DialogTemplate& dialogTemplate);

DialogSnapshot Snapshot(PosixWindow& dialog);

// Tells the current front-end that `window` changed, when it belongs to a running dialog.
void NotifyChanged(PosixWindow* window, DialogChange change);

// The first visible tab stop after the focused control (or from the start), wrapping around.
PosixWindow* NextTabStop(PosixWindow& dialog);

} // namespace framework_posix
