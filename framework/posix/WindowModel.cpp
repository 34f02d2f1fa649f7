#include "framework/posix/WindowModel.h"

#include "resources/Codepage.h"

#include <cstring>
#include <strings.h>

namespace {

std::string Narrow(const std::u16string& text) {
    return resources::Utf16ToCp1252(text);
}

bool SameClass(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

std::unique_ptr<PosixWindow> BuildControl(const resources::DialogControl& c, PosixWindow* dialog) {
    auto window = std::make_unique<PosixWindow>();
    window->parent = dialog;
    window->id = c.controlId();
    window->className = Narrow(c.className);
    if (c.text.isOrdinal)
        window->imageId = c.text.ordinal;
    else
        window->text = Narrow(c.text.text);
    window->style = c.style;
    window->exStyle = c.exStyle;
    window->rect = RECT{c.x, c.y, c.x + c.cx, c.y + c.cy};
    return window;
}

} // namespace

bool PosixWindow::IsButton() const {
    return SameClass(className, "BUTTON");
}

bool PosixWindow::IsProgress() const {
    return SameClass(className, "msctls_progress32");
}

PosixWindow* PosixWindow::Child(int nID) const {
    for (const auto& child : children)
        if (child->id == nID)
            return child.get();
    return nullptr;
}

namespace framework_posix {

const ControlSnapshot* DialogSnapshot::Find(int id) const {
    for (const ControlSnapshot& control : controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

std::unique_ptr<PosixWindow> BuildDialogWindow(const resources::DialogTemplate& t) {
    auto dialog = std::make_unique<PosixWindow>();
    dialog->className = "#32770";
    dialog->text = Narrow(t.caption);
    dialog->style = t.style;
    dialog->exStyle = t.exStyle;
    dialog->rect = RECT{t.x, t.y, t.x + t.cx, t.y + t.cy};
    if (t.hasFont) {
        dialog->dialogFont = std::make_unique<PosixFont>();
        dialog->dialogFont->height = -static_cast<int>(t.pointSize);
        dialog->dialogFont->weight = t.weight;
        dialog->dialogFont->face = Narrow(t.face);
        dialog->font = dialog->dialogFont.get();
    }
    for (const resources::DialogControl& control : t.controls) {
        dialog->children.push_back(BuildControl(control, dialog.get()));
        dialog->children.back()->font = dialog->font;
    }
    return dialog;
}

DialogSnapshot Snapshot(PosixWindow& dialog) {
    DialogSnapshot snapshot;
    snapshot.caption = dialog.text;
    snapshot.focusId = dialog.focus != nullptr ? dialog.focus->id : 0;
    for (const auto& child : dialog.children) {
        ControlSnapshot c;
        c.id = child->id;
        c.className = child->className;
        c.text = child->text;
        c.visible = child->IsVisible();
        c.isButton = child->IsButton();
        c.isDefault = c.isButton && (child->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        c.isProgress = child->IsProgress();
        c.progressPos = child->progressPos;
        snapshot.controls.push_back(std::move(c));
    }
    return snapshot;
}

void NotifyChanged(PosixWindow* window, DialogChange change) {
    if (window == nullptr)
        return;
    PosixWindow* dialog = window->Dialog();
    // Changes made before the dialog runs (or after it ended) are nobody's business yet: the
    // front-end sees the dialog as a whole when it first waits for input.
    if (dialog->owner == nullptr || dialog->ended)
        return;
    int controlId = window == dialog ? 0 : window->id;
    CurrentFrontEnd().DialogChanged(Snapshot(*dialog), change, controlId);
}

PosixWindow* NextTabStop(PosixWindow& dialog) {
    const auto& children = dialog.children;
    size_t count = children.size();
    size_t start = 0;
    for (size_t i = 0; i < count; ++i)
        if (children[i].get() == dialog.focus)
            start = i + 1;
    for (size_t n = 0; n < count; ++n) {
        PosixWindow* candidate = children[(start + n) % count].get();
        if (candidate->IsVisible() && (candidate->style & WS_TABSTOP) &&
            !(candidate->style & WS_DISABLED))
            return candidate;
    }
    return nullptr;
}

} // namespace framework_posix
