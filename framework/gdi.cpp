#include "gdi.h"

#include <memory>
#include <unordered_map>

#include "wnd.h"

CFont::~CFont() { DeleteObject(); }

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont) {
    DeleteObject();
    m_hObject = logFont ? ::CreateFontIndirectA(logFont) : nullptr;
    return m_hObject != nullptr;
}

BOOL CFont::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

int CFont::GetLogFont(LOGFONTA* logFont) const {
    return m_hObject ? ::GetObjectA(m_hObject, sizeof(LOGFONTA), logFont) : 0;
}

CDC::~CDC() = default;

BOOL CDC::Attach(HDC dc) {
    if (m_hDC || !dc) return FALSE;
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

CDC* CDC::FromHandle(HDC dc) {
    if (!dc) return nullptr;
    // A wrapper only carries the handle, so a reused handle value gets a correct wrapper.
    thread_local std::unordered_map<HDC, std::unique_ptr<CDC>> wrappers;
    std::unique_ptr<CDC>& slot = wrappers[dc];
    if (!slot) slot = std::make_unique<CDC>(dc);
    return slot.get();
}

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    // An opaque empty text output fills with the background colour without making a brush.
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

int CDC::FillRect(const RECT* rect, HBRUSH brush) { return ::FillRect(m_hDC, rect, brush); }
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
HGDIOBJ CDC::SelectObject(CFont* font) { return ::SelectObject(m_hDC, font ? font->m_hObject : nullptr); }
HGDIOBJ CDC::SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }

BOOL CDC::GetTextExtentPoint32(const char* text, int count, SIZE* size) const {
    return ::GetTextExtentPoint32A(m_hDC, text, count, size);
}

CSize CDC::GetTextExtent(const char* text, int count) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, count, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
BOOL CDC::DrawIcon(POINT p, HICON icon) { return ::DrawIcon(m_hDC, p.x, p.y, icon); }

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { m_hDC = ::GetDC(m_hWnd); }

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
