#include "veneer/control/VerticalLayoutUI.h"

#include "veneer/control/AttributeParse.h"

#include <cwchar>

namespace Veneer
{

CVerticalLayoutUI::CVerticalLayoutUI() : CFlowLayoutUI(true) {}

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0)
        return static_cast<CVerticalLayoutUI*>(this);
    return CFlowLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (IsAttributeNamed(pstrName, pstrValue, L"sepheight"))
        SetSepHeight(ParseAttributeInt(pstrValue));
    else
        CFlowLayoutUI::SetAttribute(pstrName, pstrValue);
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    SetSepSize(iHeight);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return GetSepSize();
}

} // namespace Veneer
