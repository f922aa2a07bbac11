#include "veneer/control/HorizontalLayoutUI.h"

#include "veneer/control/AttributeParse.h"

#include <cwchar>

namespace Veneer
{

CHorizontalLayoutUI::CHorizontalLayoutUI() : CFlowLayoutUI(false) {}

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0)
        return static_cast<CHorizontalLayoutUI*>(this);
    return CFlowLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (IsAttributeNamed(pstrName, pstrValue, L"sepwidth"))
        SetSepWidth(ParseAttributeInt(pstrValue));
    else
        CFlowLayoutUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    SetSepSize(iWidth);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return GetSepSize();
}

} // namespace Veneer
