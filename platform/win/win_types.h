#pragma once

// Small value types of the desktop platform the program was designed on, with the same semantics:
// rectangles exclude their right and bottom edges, COLORREF is 0x00BBGGRR.

#include <algorithm>
#include <cstdint>

using BOOL = int;
using BYTE = unsigned char;
using WORD = uint16_t;
using UINT = unsigned int;
using DWORD = uint32_t;
using LONG = int32_t;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using COLORREF = uint32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// What a dialog's DoModal answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

struct POINT
{
    LONG x;
    LONG y;
};

// A point with fractional coordinates.
struct DPOINT
{
    double x;
    double y;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// The description of a device-dependent bitmap: size, bytes per row and pixel format, without the pixels.
struct BITMAP
{
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

class CSize : public SIZE
{
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
    constexpr CSize(SIZE s) : SIZE(s) {}

    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    constexpr bool operator!=(const CSize& o) const { return !(*this == o); }
    constexpr CSize operator+(CSize o) const { return CSize(cx + o.cx, cy + o.cy); }
    constexpr CSize operator-(CSize o) const { return CSize(cx - o.cx, cy - o.cy); }
};

class CPoint : public POINT
{
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int x_, int y_) : POINT{x_, y_} {}
    constexpr CPoint(POINT p) : POINT(p) {}

    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
    constexpr CPoint operator+(CSize s) const { return CPoint(x + s.cx, y + s.cy); }
    constexpr CPoint operator-(CSize s) const { return CPoint(x - s.cx, y - s.cy); }
    constexpr CSize operator-(CPoint p) const { return CSize(x - p.x, y - p.y); }
    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
};

class CRect : public RECT
{
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(RECT r) : RECT(r) {}
    constexpr CRect(CPoint topLeft, CSize size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}
    {
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return CSize(Width(), Height()); }
    constexpr CPoint TopLeft() const { return CPoint(left, top); }
    constexpr CPoint BottomRight() const { return CPoint(right, bottom); }
    constexpr CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    // Empty when it has no area; a rectangle with right < left is empty too.
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(CPoint p) { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    // The overlap of two rectangles; an empty result becomes the null rectangle, and the result is FALSE.
    BOOL IntersectRect(const RECT& a, const RECT& b)
    {
        SetRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }
    // The smallest rectangle holding both; empty rectangles do not count.
    BOOL UnionRect(const RECT& a, const RECT& b)
    {
        CRect ra(a), rb(b);
        if (ra.IsRectEmpty())
            *this = rb;
        else if (rb.IsRectEmpty())
            *this = ra;
        else
            SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }

    constexpr bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
    CRect& operator&=(const RECT& o)
    {
        IntersectRect(*this, o);
        return *this;
    }
    CRect& operator|=(const RECT& o)
    {
        UnionRect(*this, o);
        return *this;
    }
};
