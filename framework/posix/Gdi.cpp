#include "framework/Gdi.h"

#include "framework/Wnd.h"
#include "framework/posix/ModuleResources.h"
#include "framework/posix/WindowModel.h"

#include <map>
#include <memory>
#include <new>
#include <utility>

namespace {

// The screen the model pretends to have.
constexpr int kDotsPerInch = 96;
constexpr int kIconSize = 32;

} // namespace

BOOL CFont::CreatePointFont(int pointSize, const std::string& faceName) {
    DeleteObject();
    m_hObject = new (std::nothrow) PosixFont{-(kDotsPerInch * pointSize / 720), 0, faceName};
    return m_hObject != nullptr ? TRUE : FALSE;
}

BOOL CFont::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    delete m_hObject;
    m_hObject = nullptr;
    return TRUE;
}

CBrush::~CBrush() {
    delete m_hObject;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    delete m_hObject;
    m_hObject = new (std::nothrow) PosixBrush{color};
    return m_hObject != nullptr ? TRUE : FALSE;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    if (m_hDC == nullptr)
        return 0;
    COLORREF previous = m_hDC->bkColor;
    m_hDC->bkColor = color;
    return previous;
}

void CDC::FillSolidRect(const RECT&, COLORREF color) {
    SetBkColor(color);
}

BOOL CDC::DrawIcon(int, int, HICON icon) {
    return icon != nullptr ? TRUE : FALSE;
}

HFONT CDC::SelectFont(HFONT font) {
    if (m_hDC == nullptr)
        return nullptr;
    HFONT previous = m_hDC->font;
    m_hDC->font = font;
    return previous;
}

SIZE CDC::GetTextExtent(const std::string& text) const {
    return SIZE{static_cast<LONG>(text.size()) * framework_posix::kCellWidth,
                framework_posix::kCellHeight};
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr), m_paint() {
    m_hDC = new (std::nothrow) PosixDC{m_hWnd};
}

CPaintDC::~CPaintDC() {
    delete m_hDC;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr) {
    m_hDC = new (std::nothrow) PosixDC{m_hWnd};
}

CClientDC::~CClientDC() {
    delete m_hDC;
}

// Icons are loaded once per number and size and kept for the life of the process, which is as
// long as the programs keep theirs.
HICON LoadIconImage(UINT id, int size) {
    static std::map<std::pair<UINT, int>, std::unique_ptr<PosixIcon>> loaded;
    if (id > 0xFFFF || framework_posix::ModuleResources().Find(
                           resources::kTypeGroupIcon, static_cast<uint16_t>(id)) == nullptr)
        return nullptr;
    std::unique_ptr<PosixIcon>& icon = loaded[{id, size}];
    if (icon == nullptr)
        icon = std::make_unique<PosixIcon>(PosixIcon{id, size});
    return icon.get();
}

int GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? kIconSize : 0;
}
