// The skin attributes that every control understands, and the parser of
// attribute lists ("name=\"value\" name=\"value\"").
#include "veneer/control/ControlUI.h"

#include "veneer/control/AttributeParse.h"

#include <cwchar>

namespace Veneer
{

namespace
{

// Background colours also tolerate leading blanks and control characters.
DWORD ParseBkColor(LPCWSTR pstr)
{
    while (*pstr != 0 && *pstr <= L' ')
        pstr++;
    return ParseAttributeColor(pstr);
}

void ApplyPos(CControlUI* pControl, LPCWSTR pstrValue)
{
    // A negative left or top anchors the control to the parent's right or
    // bottom edge.
    const RECT rc = ParseAttributeRect(pstrValue);
    SIZE szXY{};
    szXY.cx = rc.left >= 0 ? rc.left : rc.right;
    szXY.cy = rc.top >= 0 ? rc.top : rc.bottom;
    pControl->SetFixedXY(szXY);
    pControl->SetFixedWidth(rc.right - rc.left);
    pControl->SetFixedHeight(rc.bottom - rc.top);
}

void ApplyRelativePos(CControlUI* pControl, LPCWSTR pstrValue)
{
    const RECT rc = ParseAttributeRect(pstrValue);
    SIZE szMove{};
    szMove.cx = rc.left;
    szMove.cy = rc.top;
    SIZE szZoom{};
    szZoom.cx = rc.right;
    szZoom.cy = rc.bottom;
    pControl->SetRelativePos(szMove, szZoom);
}

void ApplyBorderSize(CControlUI* pControl, LPCWSTR pstrValue)
{
    // One number is a uniform border and clears the per-side sizes; four
    // numbers set the sides only.
    if (wcschr(pstrValue, L',') == nullptr)
    {
        pControl->SetBorderSize(ParseAttributeInt(pstrValue));
        pControl->SetBorderSize(RECT{});
        return;
    }
    pControl->SetBorderSize(ParseAttributeRect(pstrValue));
}

struct AttributeHandler
{
    LPCWSTR pstrName;
    void (*pfnApply)(CControlUI* pControl, LPCWSTR pstrValue);
};

const AttributeHandler kAttributes[] = {
    {L"pos", ApplyPos},
    {L"relativepos", ApplyRelativePos},
    {L"padding", [](CControlUI* p, LPCWSTR v) { p->SetPadding(ParseAttributeRect(v)); }},
    {L"bkcolor", [](CControlUI* p, LPCWSTR v) { p->SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor1", [](CControlUI* p, LPCWSTR v) { p->SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor2", [](CControlUI* p, LPCWSTR v) { p->SetBkColor2(ParseBkColor(v)); }},
    {L"bkcolor3", [](CControlUI* p, LPCWSTR v) { p->SetBkColor3(ParseBkColor(v)); }},
    {L"bordercolor", [](CControlUI* p, LPCWSTR v) { p->SetBorderColor(ParseAttributeColor(v)); }},
    {L"focusbordercolor", [](CControlUI* p, LPCWSTR v) { p->SetFocusBorderColor(ParseAttributeColor(v)); }},
    {L"colorhsl", [](CControlUI* p, LPCWSTR v) { p->SetColorHSL(ParseAttributeBool(v)); }},
    {L"bordersize", ApplyBorderSize},
    {L"leftbordersize", [](CControlUI* p, LPCWSTR v) { p->SetLeftBorderSize(ParseAttributeInt(v)); }},
    {L"topbordersize", [](CControlUI* p, LPCWSTR v) { p->SetTopBorderSize(ParseAttributeInt(v)); }},
    {L"rightbordersize", [](CControlUI* p, LPCWSTR v) { p->SetRightBorderSize(ParseAttributeInt(v)); }},
    {L"bottombordersize", [](CControlUI* p, LPCWSTR v) { p->SetBottomBorderSize(ParseAttributeInt(v)); }},
    {L"borderstyle", [](CControlUI* p, LPCWSTR v) { p->SetBorderStyle(ParseAttributeInt(v)); }},
    {L"borderround", [](CControlUI* p, LPCWSTR v) { p->SetBorderRound(ParseAttributeSize(v)); }},
    {L"bkimage", [](CControlUI* p, LPCWSTR v) { p->SetBkImage(v); }},
    {L"width", [](CControlUI* p, LPCWSTR v) { p->SetFixedWidth(ParseAttributeInt(v)); }},
    {L"height", [](CControlUI* p, LPCWSTR v) { p->SetFixedHeight(ParseAttributeInt(v)); }},
    {L"minwidth", [](CControlUI* p, LPCWSTR v) { p->SetMinWidth(ParseAttributeInt(v)); }},
    {L"minheight", [](CControlUI* p, LPCWSTR v) { p->SetMinHeight(ParseAttributeInt(v)); }},
    {L"maxwidth", [](CControlUI* p, LPCWSTR v) { p->SetMaxWidth(ParseAttributeInt(v)); }},
    {L"maxheight", [](CControlUI* p, LPCWSTR v) { p->SetMaxHeight(ParseAttributeInt(v)); }},
    {L"name", [](CControlUI* p, LPCWSTR v) { p->SetName(v); }},
    {L"text", [](CControlUI* p, LPCWSTR v) { p->SetText(v); }},
    {L"tooltip", [](CControlUI* p, LPCWSTR v) { p->SetToolTip(v); }},
    {L"userdata", [](CControlUI* p, LPCWSTR v) { p->SetUserData(v); }},
    {L"enabled", [](CControlUI* p, LPCWSTR v) { p->SetEnabled(ParseAttributeBool(v)); }},
    {L"mouse", [](CControlUI* p, LPCWSTR v) { p->SetMouseEnabled(ParseAttributeBool(v)); }},
    {L"keyboard", [](CControlUI* p, LPCWSTR v) { p->SetKeyboardEnabled(ParseAttributeBool(v)); }},
    {L"visible", [](CControlUI* p, LPCWSTR v) { p->SetVisible(ParseAttributeBool(v)); }},
    {L"float", [](CControlUI* p, LPCWSTR v) { p->SetFloat(ParseAttributeBool(v)); }},
    {L"shortcut", [](CControlUI* p, LPCWSTR v) { p->SetShortcut(v[0]); }},
    {L"menu", [](CControlUI* p, LPCWSTR v) { p->SetContextMenuUsed(ParseAttributeBool(v)); }},
    {L"virtualwnd", [](CControlUI* p, LPCWSTR v) { p->SetVirtualWnd(v); }},
};

} // namespace

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr)
        return;
    for (const AttributeHandler& attribute : kAttributes)
    {
        if (wcscmp(pstrName, attribute.pstrName) == 0)
        {
            attribute.pfnApply(this, pstrValue);
            return;
        }
    }
}

CControlUI* CControlUI::ApplyAttributeList(LPCWSTR pstrList)
{
    if (pstrList == nullptr)
        return this;
    LPCWSTR pstr = pstrList;
    while (*pstr != 0)
    {
        // The name runs up to the equals sign, the value between two quotes.
        LPCWSTR pstrEquals = wcschr(pstr, L'=');
        if (pstrEquals == nullptr || pstrEquals[1] != L'"')
            return this;
        LPCWSTR pstrValue = pstrEquals + 2;
        LPCWSTR pstrQuote = wcschr(pstrValue, L'"');
        if (pstrQuote == nullptr)
            return this;
        const CUiString sName(pstr, static_cast<int>(pstrEquals - pstr));
        const CUiString sValue(pstrValue, static_cast<int>(pstrQuote - pstrValue));
        SetAttribute(sName, sValue);
        // Pairs are separated by exactly one blank.
        if (pstrQuote[1] != L' ')
            return this;
        pstr = pstrQuote + 2;
    }
    return this;
}

} // namespace Veneer
