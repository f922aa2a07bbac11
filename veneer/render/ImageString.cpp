#include "veneer/render/RenderEngine.h"

#include "veneer/render/ImageItems.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace Veneer
{

namespace
{

const wchar_t kTrue[] = L"true";
const int kRectNumbers = 4;

// The description of the image to draw next. Items change one setting each
// and nothing resets them, so every image inherits what came before it.
struct ImageSettings
{
    CUiString sName;
    CUiString sResType;
    RECT rcDest{};
    RECT rcSource{};
    RECT rcCorner{};
    DWORD dwMask = 0;
    BYTE uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;
    int nImages = 0;       // images named so far by the string being read
    bool bMissing = false; // an image named could not be had
};

// Where a description is drawn.
struct DrawTarget
{
    HDC hDC;
    CResourceTables* pResources;
    const RECT& rcItem;
    const RECT& rcPaint;
};

LPCWSTR SkipBlanks(LPCWSTR pstr)
{
    while (*pstr != 0 && *pstr <= L' ')
        pstr++;
    return pstr;
}

// Reads up to four comma-separated decimal numbers; each number starts one
// character after the previous one ended. Missing numbers are 0: the
// reading stops at the end of the text instead of stepping over it.
RECT ReadRect(LPCWSTR pstr)
{
    LONG values[kRectNumbers] = {};
    for (int i = 0; i < kRectNumbers; i++)
    {
        wchar_t* pEnd = nullptr;
        values[i] = wcstol(pstr, &pEnd, 10);
        if (*pEnd == 0)
            break;
        pstr = pEnd + 1;
    }
    return RECT{values[0], values[1], values[2], values[3]};
}

LONG OffsetClamped(LONG base, LONG offset)
{
    const long long sum = static_cast<long long>(base) + offset;
    return static_cast<LONG>(std::clamp<long long>(sum, LONG_MIN, LONG_MAX));
}

// The destination is relative to the item's top-left corner and is cut at
// the item's right and bottom edges only.
RECT DestInItem(const RECT& rcRelative, const RECT& rcItem)
{
    RECT rc{};
    rc.left = OffsetClamped(rcItem.left, rcRelative.left);
    rc.top = OffsetClamped(rcItem.top, rcRelative.top);
    rc.right = std::min(OffsetClamped(rcItem.left, rcRelative.right), rcItem.right);
    rc.bottom = std::min(OffsetClamped(rcItem.top, rcRelative.bottom), rcItem.bottom);
    return rc;
}

// No source means the whole bitmap; a source reaching past the bitmap is
// cut to it.
RECT SourceInBitmap(const RECT& rcSource, int cx, int cy)
{
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0)
        return RECT{0, 0, cx, cy};
    RECT rc{};
    rc.left = std::max<LONG>(rcSource.left, 0);
    rc.top = std::max<LONG>(rcSource.top, 0);
    rc.right = std::min<LONG>(rcSource.right, cx);
    rc.bottom = std::min<LONG>(rcSource.bottom, cy);
    return rc;
}

// Draws the image the settings describe; a missing image is noted in them.
void DrawOneImage(const DrawTarget& target, ImageSettings& s)
{
    if (s.sName.IsEmpty())
        return;
    const TImageInfo* pImage = target.pResources->GetImageEx(
        s.sName, s.sResType.IsEmpty() ? nullptr : s.sResType.GetData(), s.dwMask);
    if (pImage == nullptr)
    {
        s.bMissing = true;
        return;
    }
    RECT rcTemp{};
    if (!::IntersectRect(&rcTemp, &s.rcDest, &target.rcItem) ||
        !::IntersectRect(&rcTemp, &s.rcDest, &target.rcPaint))
        return;
    CRenderEngine::DrawImage(target.hDC, pImage->hBitmap, s.rcDest, target.rcPaint,
                             SourceInBitmap(s.rcSource, pImage->nX, pImage->nY), s.rcCorner,
                             pImage->alphaChannel, s.uFade, s.bHole, s.bTiledX, s.bTiledY);
}

void ApplyItem(const CUiString& sKey, const CUiString& sValue, ImageSettings& s, const DrawTarget& target)
{
    // A new name (or resource type) first draws the image described so far.
    const bool bFile = sKey == L"file";
    if (bFile || sKey == L"res" || sKey == L"restype")
    {
        if (s.nImages > 0)
            DrawOneImage(target, s);
        if (sKey == L"restype")
            s.sResType = sValue;
        else
            s.sName = sValue;
        if (sKey != L"res")
            s.nImages++;
    }
    else if (sKey == L"dest")
        s.rcDest = DestInItem(ReadRect(sValue), target.rcItem);
    else if (sKey == L"source")
        s.rcSource = ReadRect(sValue);
    else if (sKey == L"corner")
        s.rcCorner = ReadRect(sValue);
    else if (sKey == L"mask")
        s.dwMask = wcstoul(sValue[0] == L'#' ? sValue.GetData() + 1 : sValue.GetData(), nullptr, 16);
    else if (sKey == L"fade")
        s.uFade = static_cast<BYTE>(wcstol(sValue, nullptr, 10));
    else if (sKey == L"hole")
        s.bHole = sValue == kTrue;
    else if (sKey == L"xtiled")
        s.bTiledX = sValue == kTrue;
    else if (sKey == L"ytiled")
        s.bTiledY = sValue == kTrue;
}

// Applies the items of one string in turn. Items are separated by exactly
// one space; anything else after a value ends the string.
void ScanItems(LPCWSTR pstr, ImageSettings& s, const DrawTarget& target)
{
    CUiString sKey;
    CUiString sValue;
    while (ReadImageItem(pstr, sKey, sValue))
    {
        if (!sValue.IsEmpty())
            ApplyItem(sKey, sValue, s, target);
        if (*pstr != L' ')
            return;
        pstr++;
    }
}

} // namespace

bool ReadImageItem(LPCWSTR& pstr, CUiString& sKey, CUiString& sValue)
{
    pstr = SkipBlanks(pstr);
    LPCWSTR pKey = pstr;
    while (*pstr != 0 && *pstr != L'=' && *pstr > L' ')
        pstr++;
    sKey.Assign(pKey, static_cast<int>(pstr - pKey));
    pstr = SkipBlanks(pstr);
    if (*pstr != L'=')
        return false;
    pstr = SkipBlanks(pstr + 1);
    if (*pstr != L'\'')
        return false;
    LPCWSTR pValue = ++pstr;
    while (*pstr != 0 && *pstr != L'\'')
        pstr++;
    if (*pstr != L'\'')
        return false;
    sValue.Assign(pValue, static_cast<int>(pstr - pValue));
    pstr++;
    return true;
}

bool CRenderEngine::DrawImageString(HDC hDC, CResourceTables* pResources, const RECT& rcItem,
                                    const RECT& rcPaint, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    if (hDC == nullptr || pResources == nullptr)
        return false;
    const DrawTarget target{hDC, pResources, rcItem, rcPaint};

    // Step 1: a string that is not a list of items names the image itself.
    ImageSettings settings;
    settings.sName = pStrImage;
    settings.rcDest = rcItem;

    // Step 2: the image string, then the modify string on top of it.
    if (pStrImage != nullptr)
        ScanItems(pStrImage, settings, target);
    settings.nImages = 0;
    if (pStrModify != nullptr)
        ScanItems(pStrModify, settings, target);

    // Step 3: the image the strings describe in the end. A missing image
    // makes the whole string fail, so that the caller draws its fallback.
    DrawOneImage(target, settings);
    return !settings.bMissing;
}

} // namespace Veneer
