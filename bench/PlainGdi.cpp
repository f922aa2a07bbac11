#include "PlainGdi.h"

#include "veneer/render/DibSurface.h"

HBITMAP MakeFramedImage(int size, int corner, DWORD dwFrame, DWORD dwCentre)
{
    DWORD* pBits = nullptr;
    HBITMAP hBitmap = Veneer::CDibSurface::CreateBitmap(size, size, &pBits);
    for (int y = 0; y < size; y++)
    {
        for (int x = 0; x < size; x++)
        {
            const bool bEdge = x < corner || y < corner || x >= size - corner || y >= size - corner;
            pBits[y * size + x] = bEdge ? dwFrame : dwCentre;
        }
    }
    return hBitmap;
}

void PlainNineSlice(HDC hDC, HDC hImageDC, const RECT& rc, int size, int corner)
{
    const int c = corner;
    const int xs[4] = {rc.left, rc.left + c, rc.right - c, rc.right};
    const int ys[4] = {rc.top, rc.top + c, rc.bottom - c, rc.bottom};
    const int sx[4] = {0, c, size - c, size};
    for (int row = 0; row < 3; row++)
    {
        for (int col = 0; col < 3; col++)
        {
            ::StretchBlt(hDC, xs[col], ys[row], xs[col + 1] - xs[col], ys[row + 1] - ys[row], hImageDC,
                         sx[col], sx[row], sx[col + 1] - sx[col], sx[row + 1] - sx[row], SRCCOPY);
        }
    }
}
