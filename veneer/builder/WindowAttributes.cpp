#include "veneer/builder/WindowAttributes.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/manager/PaintManagerUI.h"

namespace Veneer
{

namespace
{

// Number lists step over exactly one separator, so "380,265" and "380 265"
// both read as two numbers, and so does "380, 265" (wcstol skips the blank).
const TAttributeHandler<CPaintManagerUI> kWindowAttributes[] = {
    {L"size",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         pm.SetInitSize(sz.cx, sz.cy);
     }},
    {L"sizebox",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         RECT rc = ParseAttributeRect(v);
         pm.SetSizeBox(rc);
     }},
    {L"caption",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         RECT rc = ParseAttributeRect(v);
         pm.SetCaptionRect(rc);
     }},
    {L"roundcorner",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         pm.SetRoundCorner(sz.cx, sz.cy);
     }},
    {L"mininfo",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         pm.SetMinInfo(sz.cx, sz.cy);
     }},
    {L"maxinfo",
     [](CPaintManagerUI& pm, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         pm.SetMaxInfo(sz.cx, sz.cy);
     }},
    {L"showdirty", [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetShowUpdateRect(ParseAttributeBool(v)); }},
    {L"alpha", [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetTransparent(ParseAttributeInt(v)); }},
    {L"bktrans", [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetBackgroundTransparent(ParseAttributeBool(v)); }},
    {L"disabledfontcolor",
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetDefaultDisabledColor(ParseAttributeColor(v)); }},
    {L"defaultfontcolor",
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetDefaultFontColor(ParseAttributeColor(v)); }},
    {L"linkfontcolor",
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetDefaultLinkFontColor(ParseAttributeColor(v)); }},
    {L"linkhoverfontcolor",
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetDefaultLinkHoverFontColor(ParseAttributeColor(v)); }},
    {L"selectedcolor",
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetDefaultSelectedBkColor(ParseAttributeColor(v)); }},
};

} // namespace

bool ApplyWindowAttribute(CPaintManagerUI& manager, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    return ApplyAttribute(kWindowAttributes, manager, pstrName, pstrValue);
}

} // namespace Veneer
