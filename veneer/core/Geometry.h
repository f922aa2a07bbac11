#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// Helpers over the Win32 geometry records; they add behaviour, no fields.
class VENEER_API CUiRect : public tagRECT
{
  public:
    CUiRect();
    CUiRect(const RECT& src);
    CUiRect(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const;
    int GetHeight() const;
    void Empty();
    bool IsNull() const;
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Union(CUiRect& rc);
};

class VENEER_API CSize : public tagSIZE
{
  public:
    CSize();
    CSize(const SIZE& src);
    CSize(const RECT rc);
    CSize(int cx, int cy);
};

class VENEER_API CPoint : public tagPOINT
{
  public:
    CPoint();
    CPoint(const POINT& src);
    CPoint(int x, int y);
    // x and y are the sign-extended low and high words of a packed position.
    CPoint(LPARAM lParam);
};

} // namespace Veneer
