#include "framework/Gdi.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstring>
#include <new>

BOOL CFont::CreatePointFont(int pointSize, const std::string& faceName) {
    DeleteObject();
    HDC screen = ::GetDC(nullptr);
    int dpiY = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -(dpiY * pointSize / 720);
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    m_hObject = ::CreateFontIndirectA(&font);
    return m_hObject != nullptr ? TRUE : FALSE;
}

BOOL CFont::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

CBrush::~CBrush() {
    if (m_hObject != nullptr)
        ::DeleteObject(m_hObject);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    if (m_hObject != nullptr)
        ::DeleteObject(m_hObject);
    m_hObject = ::CreateSolidBrush(color);
    return m_hObject != nullptr ? TRUE : FALSE;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    return ::DrawIcon(m_hDC, x, y, icon);
}

HFONT CDC::SelectFont(HFONT font) {
    return static_cast<HFONT>(::SelectObject(m_hDC, font));
}

SIZE CDC::GetTextExtent(const std::string& text) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* wnd)
    : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr),
      m_paint(new (std::nothrow) PAINTSTRUCT) {
    if (m_paint != nullptr)
        m_hDC = ::BeginPaint(m_hWnd, static_cast<PAINTSTRUCT*>(m_paint));
}

CPaintDC::~CPaintDC() {
    if (m_paint == nullptr)
        return;
    ::EndPaint(m_hWnd, static_cast<PAINTSTRUCT*>(m_paint));
    delete static_cast<PAINTSTRUCT*>(m_paint);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
}

HICON LoadIconImage(UINT id, int size) {
    return static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                           size, size, LR_DEFAULTCOLOR));
}
