#include "SkinOutput.h"

#include "tools/common/SkinText.h"
#include "veneer/Veneer.h"

#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <algorithm>

using namespace Veneer;

namespace
{

void AddTreeLines(CControlUI* pControl, int iDepth, std::vector<std::wstring>& lines)
{
    const RECT& rc = pControl->GetPos();
    lines.push_back(std::wstring(static_cast<size_t>(iDepth) * 2, L' ') + pControl->GetClass() + L" " +
                    Quoted(pControl->GetName().GetData()) + L" " + std::to_wstring(rc.left) + L"," +
                    std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
                    std::to_wstring(rc.bottom));
    IContainerUI* pContainer = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
    for (int i = 0; pContainer != nullptr && i < pContainer->GetCount(); i++)
        AddTreeLines(pContainer->GetItemAt(i), iDepth + 1, lines);
}

bool PaintOver(CControlUI* pRoot, CDibSurface& surface, int cx, int cy, DWORD dwBackground)
{
    if (!surface.Create(nullptr, cx, cy))
        return false;
    std::fill(surface.GetBits(), surface.GetBits() + surface.GetPixelCount(), dwBackground);
    const RECT rcPaint{0, 0, cx, cy};
    const int nSaved = ::SaveDC(surface.GetDC());
    pRoot->DoPaint(surface.GetDC(), rcPaint);
    ::RestoreDC(surface.GetDC(), nSaved);
    ::GdiFlush();
    return true;
}

// One RGBA pixel from the same pixel painted over black and over white: a
// channel that lets the background through by some fraction rises by that
// fraction of 255 from black to white.
void Unblend(DWORD dwOverBlack, DWORD dwOverWhite, unsigned char* pRgba)
{
    int nAlpha = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int black = static_cast<int>((dwOverBlack >> shift) & 0xFF);
        const int white = static_cast<int>((dwOverWhite >> shift) & 0xFF);
        nAlpha = std::max(nAlpha, 255 - (white - black));
    }
    nAlpha = std::min(255, std::max(0, nAlpha));
    pRgba[3] = static_cast<unsigned char>(nAlpha);
    for (int i = 0; i < 3; i++)
    {
        const int black = static_cast<int>((dwOverBlack >> (16 - 8 * i)) & 0xFF);
        pRgba[i] = static_cast<unsigned char>(nAlpha == 0 ? 0 : std::min(255, black * 255 / nAlpha));
    }
}

struct TPngFile
{
    HANDLE hFile;
    bool bFailed;
};

// stb's writer calls back with the C calling convention.
void WriteToFile(void* pContext, void* pData, int cb)
{
    TPngFile* pFile = static_cast<TPngFile*>(pContext);
    DWORD cbWritten = 0;
    if (!::WriteFile(pFile->hFile, pData, static_cast<DWORD>(cb), &cbWritten, nullptr) ||
        cbWritten != static_cast<DWORD>(cb))
        pFile->bFailed = true;
}

} // namespace

std::vector<std::wstring> DumpTree(CControlUI* pRoot)
{
    std::vector<std::wstring> lines;
    if (pRoot != nullptr)
        AddTreeLines(pRoot, 0, lines);
    return lines;
}

bool WriteTreePng(CControlUI* pRoot, int cx, int cy, const std::wstring& sPath)
{
    CDibSurface overBlack;
    CDibSurface overWhite;
    if (pRoot == nullptr || !PaintOver(pRoot, overBlack, cx, cy, 0xFF000000) ||
        !PaintOver(pRoot, overWhite, cx, cy, 0xFFFFFFFF))
        return false;
    std::vector<unsigned char> rgba(overBlack.GetPixelCount() * 4);
    for (size_t i = 0; i < overBlack.GetPixelCount(); i++)
        Unblend(overBlack.GetBits()[i], overWhite.GetBits()[i], &rgba[i * 4]);

    CScopedHandle file(::CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    TPngFile png{file.Get(), false};
    return stbi_write_png_to_func(&WriteToFile, &png, cx, cy, 4, rgba.data(), cx * 4) != 0 && !png.bFailed;
}
