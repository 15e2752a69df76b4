// Thin GDI wrappers: points, sizes, rectangles, fonts and device contexts.
#pragma once
#include <windows.h>
#include "cstring.h"

class CWnd;

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT p) : POINT(p) {}
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(SIZE s) : SIZE(s) {}
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
};

// Owns its font: the GDI object is deleted when the CFont is destroyed or
// when DeleteObject is called.
class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont();
    BOOL CreateFontIndirect(const LOGFONTA* logFont);   // replaces (and deletes) a font already held
    BOOL DeleteObject();
    operator HFONT() const { return m_hObject; }
    HFONT GetSafeHandle() const { return m_hObject; }
    int GetLogFont(LOGFONTA* logFont) const;            // bytes copied, 0 without a font

    HFONT m_hObject = nullptr;
};

// A device context. A CDC never releases or deletes its HDC itself;
// CPaintDC and CClientDC do, and CWnd::ReleaseDC releases what CWnd::GetDC gave.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    BOOL Attach(HDC dc);
    HDC Detach();
    // A framework-owned wrapper for a handle; lives for the thread's life.
    static CDC* FromHandle(HDC dc);
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    int FillRect(const RECT* rect, HBRUSH brush);
    // Both forms return the object that was selected before, to select back.
    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ SelectObject(CFont* font);
    HGDIOBJ SelectStockObject(int index);
    BOOL GetTextExtentPoint32(const char* text, int count, SIZE* size) const;
    CSize GetTextExtent(const char* text, int count) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT p, HICON icon);

    HDC m_hDC = nullptr;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// GetDC in the constructor, ReleaseDC in the destructor.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
