#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Veneer
{
class CControlUI;
}

// The control tree in tree order, one line per control: two spaces per
// level, the class, the name in double quotes and the position as
// left,top,right,bottom.
std::vector<std::wstring> DumpTree(Veneer::CControlUI* pRoot);

// Paints the tree into a picture of the given size and writes it as a PNG
// with its alpha: the tree is painted once over black and once over white,
// and what the two differ by is how transparent each pixel is. False when
// the file cannot be written.
bool WriteTreePng(Veneer::CControlUI* pRoot, int cx, int cy, const std::wstring& sPath);
