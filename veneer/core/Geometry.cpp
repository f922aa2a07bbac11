#include "veneer/core/Geometry.h"

#include <utility>

namespace Veneer
{

CUiRect::CUiRect()
{
    left = top = right = bottom = 0;
}

CUiRect::CUiRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CUiRect::CUiRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

int CUiRect::GetWidth() const
{
    return right - left;
}

int CUiRect::GetHeight() const
{
    return bottom - top;
}

void CUiRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CUiRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CUiRect::Join(const RECT& rc)
{
    // Unlike Union, an empty rectangle still extends the result.
    if (rc.left < left)
        left = rc.left;
    if (rc.top < top)
        top = rc.top;
    if (rc.right > right)
        right = rc.right;
    if (rc.bottom > bottom)
        bottom = rc.bottom;
}

void CUiRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CUiRect::Normalize()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

void CUiRect::Offset(int cx, int cy)
{
    ::OffsetRect(this, cx, cy);
}

void CUiRect::Inflate(int cx, int cy)
{
    ::InflateRect(this, cx, cy);
}

void CUiRect::Deflate(int cx, int cy)
{
    ::InflateRect(this, -cx, -cy);
}

void CUiRect::Union(CUiRect& rc)
{
    ::UnionRect(this, this, &rc);
}

CSize::CSize()
{
    cx = cy = 0;
}

CSize::CSize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CSize::CSize(const RECT rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CSize::CSize(int _cx, int _cy)
{
    cx = _cx;
    cy = _cy;
}

CPoint::CPoint()
{
    x = y = 0;
}

CPoint::CPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CPoint::CPoint(int _x, int _y)
{
    x = _x;
    y = _y;
}

CPoint::CPoint(LPARAM lParam)
{
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
}

} // namespace Veneer
