#pragma once

#include <windows.h>

// What the benchmarks' plain GDI sides share.

// A square opaque image of `size` pixels: a frame `corner` pixels wide in
// one colour around a centre of another (0xAARRGGBB).
HBITMAP MakeFramedImage(int size, int corner, DWORD dwFrame, DWORD dwCentre);

// Draws such an image from `hImageDC` nine-sliced into `rc` with one
// StretchBlt a slice, as hand-written code would.
void PlainNineSlice(HDC hDC, HDC hImageDC, const RECT& rc, int size, int corner);
