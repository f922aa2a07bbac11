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

void ApplyPos(CControlUI& control, LPCWSTR pstrValue)
{
    // A negative left or top anchors the control to the parent's right or
    // bottom edge.
    const RECT rc = ParseAttributeRect(pstrValue);
    SIZE szXY{};
    szXY.cx = rc.left >= 0 ? rc.left : rc.right;
    szXY.cy = rc.top >= 0 ? rc.top : rc.bottom;
    control.SetFixedXY(szXY);
    control.SetFixedWidth(rc.right - rc.left);
    control.SetFixedHeight(rc.bottom - rc.top);
}

void ApplyRelativePos(CControlUI& control, LPCWSTR pstrValue)
{
    const RECT rc = ParseAttributeRect(pstrValue);
    SIZE szMove{};
    szMove.cx = rc.left;
    szMove.cy = rc.top;
    SIZE szZoom{};
    szZoom.cx = rc.right;
    szZoom.cy = rc.bottom;
    control.SetRelativePos(szMove, szZoom);
}

void ApplyBorderSize(CControlUI& control, LPCWSTR pstrValue)
{
    // One number is a uniform border and clears the per-side sizes; four
    // numbers set the sides only.
    if (wcschr(pstrValue, L',') == nullptr)
    {
        control.SetBorderSize(ParseAttributeInt(pstrValue));
        control.SetBorderSize(RECT{});
        return;
    }
    control.SetBorderSize(ParseAttributeRect(pstrValue));
}

const TAttributeHandler<CControlUI> kControlAttributes[] = {
    {L"pos", ApplyPos},
    {L"relativepos", ApplyRelativePos},
    {L"padding", [](CControlUI& c, LPCWSTR v) { c.SetPadding(ParseAttributeRect(v)); }},
    {L"bkcolor", [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor1", [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor2", [](CControlUI& c, LPCWSTR v) { c.SetBkColor2(ParseBkColor(v)); }},
    {L"bkcolor3", [](CControlUI& c, LPCWSTR v) { c.SetBkColor3(ParseBkColor(v)); }},
    {L"bordercolor", [](CControlUI& c, LPCWSTR v) { c.SetBorderColor(ParseAttributeColor(v)); }},
    {L"focusbordercolor", [](CControlUI& c, LPCWSTR v) { c.SetFocusBorderColor(ParseAttributeColor(v)); }},
    {L"colorhsl", [](CControlUI& c, LPCWSTR v) { c.SetColorHSL(ParseAttributeBool(v)); }},
    {L"bordersize", ApplyBorderSize},
    {L"leftbordersize", [](CControlUI& c, LPCWSTR v) { c.SetLeftBorderSize(ParseAttributeInt(v)); }},
    {L"topbordersize", [](CControlUI& c, LPCWSTR v) { c.SetTopBorderSize(ParseAttributeInt(v)); }},
    {L"rightbordersize", [](CControlUI& c, LPCWSTR v) { c.SetRightBorderSize(ParseAttributeInt(v)); }},
    {L"bottombordersize", [](CControlUI& c, LPCWSTR v) { c.SetBottomBorderSize(ParseAttributeInt(v)); }},
    {L"borderstyle", [](CControlUI& c, LPCWSTR v) { c.SetBorderStyle(ParseAttributeInt(v)); }},
    {L"borderround", [](CControlUI& c, LPCWSTR v) { c.SetBorderRound(ParseAttributeSize(v)); }},
    {L"bkimage", [](CControlUI& c, LPCWSTR v) { c.SetBkImage(v); }},
    {L"width", [](CControlUI& c, LPCWSTR v) { c.SetFixedWidth(ParseAttributeInt(v)); }},
    {L"height", [](CControlUI& c, LPCWSTR v) { c.SetFixedHeight(ParseAttributeInt(v)); }},
    {L"minwidth", [](CControlUI& c, LPCWSTR v) { c.SetMinWidth(ParseAttributeInt(v)); }},
    {L"minheight", [](CControlUI& c, LPCWSTR v) { c.SetMinHeight(ParseAttributeInt(v)); }},
    {L"maxwidth", [](CControlUI& c, LPCWSTR v) { c.SetMaxWidth(ParseAttributeInt(v)); }},
    {L"maxheight", [](CControlUI& c, LPCWSTR v) { c.SetMaxHeight(ParseAttributeInt(v)); }},
    {L"name", [](CControlUI& c, LPCWSTR v) { c.SetName(v); }},
    {L"text", [](CControlUI& c, LPCWSTR v) { c.SetText(v); }},
    {L"tooltip", [](CControlUI& c, LPCWSTR v) { c.SetToolTip(v); }},
    {L"userdata", [](CControlUI& c, LPCWSTR v) { c.SetUserData(v); }},
    {L"enabled", [](CControlUI& c, LPCWSTR v) { c.SetEnabled(ParseAttributeBool(v)); }},
    {L"mouse", [](CControlUI& c, LPCWSTR v) { c.SetMouseEnabled(ParseAttributeBool(v)); }},
    {L"keyboard", [](CControlUI& c, LPCWSTR v) { c.SetKeyboardEnabled(ParseAttributeBool(v)); }},
    {L"visible", [](CControlUI& c, LPCWSTR v) { c.SetVisible(ParseAttributeBool(v)); }},
    {L"float", [](CControlUI& c, LPCWSTR v) { c.SetFloat(ParseAttributeBool(v)); }},
    {L"shortcut", [](CControlUI& c, LPCWSTR v) { c.SetShortcut(v[0]); }},
    {L"menu", [](CControlUI& c, LPCWSTR v) { c.SetContextMenuUsed(ParseAttributeBool(v)); }},
    {L"virtualwnd", [](CControlUI& c, LPCWSTR v) { c.SetVirtualWnd(v); }},
};

} // namespace

// A name that the table lacks is ignored.
void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    ApplyAttribute(kControlAttributes, *this, pstrName, pstrValue);
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
