#include "veneer/control/OptionUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/render/RenderEngine.h"

#include <cwchar>

namespace Veneer
{

namespace
{

const TAttributeHandler<COptionUI> kOptionAttributes[] = {
    {L"group", [](COptionUI& c, LPCWSTR v) { c.SetGroup(v); }},
    {L"selected", [](COptionUI& c, LPCWSTR v) { c.Selected(ParseAttributeBool(v)); }},
    {L"selectedimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedImage(v); }},
    {L"selectedhotimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedHotImage(v); }},
    {L"foreimage", [](COptionUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"selectedbkcolor", [](COptionUI& c, LPCWSTR v) { c.SetSelectedBkColor(ParseAttributeColor(v)); }},
    {L"selectedtextcolor", [](COptionUI& c, LPCWSTR v) { c.SetSelectedTextColor(ParseAttributeColor(v)); }},
};

} // namespace

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0) {}

COptionUI::~COptionUI()
{
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr)
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

LPCWSTR COptionUI::GetClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Option") == 0)
        return this;
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (!bInit || m_sGroupName.IsEmpty() || m_pManager == nullptr)
        return;
    m_pManager->AddOptionGroup(m_sGroupName, this);
    if (m_bSelected)
        DeselectOthersInGroup();
}

bool COptionUI::Activate()
{
    // The click may delete the option.
    CControlWatch self(this);
    if (!CButtonUI::Activate())
        return false;
    if (self.Get() == nullptr)
        return true;
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetEnabled(bool bEnable)
{
    CButtonUI::SetEnabled(bEnable);
    if (!IsEnabled())
        m_uButtonState = m_bSelected ? StateSelected : 0;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kOptionAttributes, *this, pstrName, pstrValue))
        CButtonUI::SetAttribute(pstrName, pstrValue);
}

LPCWSTR COptionUI::GetGroup() const
{
    return m_sGroupName;
}

void COptionUI::SetGroup(LPCWSTR pStrGroupName)
{
    const bool bNoName = pStrGroupName == nullptr || *pStrGroupName == 0;
    if (bNoName ? m_sGroupName.IsEmpty() : m_sGroupName == pStrGroupName)
        return;
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr)
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = bNoName ? L"" : pStrGroupName;
    if (m_sGroupName.IsEmpty() || m_pManager == nullptr)
        return;
    m_pManager->AddOptionGroup(m_sGroupName, this);
    // A selected option keeps its selection in the new group.
    if (m_bSelected)
        DeselectOthersInGroup();
}

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}

void COptionUI::Selected(bool bSelected)
{
    if (m_bSelected == bSelected)
        return;
    m_bSelected = bSelected;
    m_uButtonState = bSelected ? m_uButtonState | StateSelected : m_uButtonState & ~StateSelected;
    // A listener may delete the option.
    CControlWatch self(this);
    if (m_pManager != nullptr && (m_sGroupName.IsEmpty() || bSelected))
    {
        if (!m_sGroupName.IsEmpty())
            DeselectOthersInGroup();
        m_pManager->SendNotify(this, L"selectchanged");
    }
    if (self.Get() != nullptr)
        Invalidate();
}

void COptionUI::DeselectOthersInGroup()
{
    CStdPtrArray* pGroup = m_pManager->GetOptionGroup(m_sGroupName);
    for (int i = 0; pGroup != nullptr && i < pGroup->GetSize(); i++)
    {
        CControlUI* pMember = static_cast<CControlUI*>(pGroup->GetAt(i));
        COptionUI* pOption = static_cast<COptionUI*>(pMember->GetInterface(L"Option"));
        if (pOption != nullptr && pOption != this)
            pOption->Selected(false);
    }
}

LPCWSTR COptionUI::GetSelectedImage() const
{
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sSelectedImage, pStrImage);
}

LPCWSTR COptionUI::GetSelectedHotImage() const
{
    return m_sSelectedHotImage;
}

void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sSelectedHotImage, pStrImage);
}

LPCWSTR COptionUI::GetForeImage() const
{
    return m_sOptionForeImage;
}

void COptionUI::SetForeImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sOptionForeImage, pStrImage);
}

void COptionUI::SetSelectedTextColor(DWORD dwTextColor)
{
    m_dwSelectedTextColor = dwTextColor;
}

DWORD COptionUI::GetSelectedTextColor()
{
    if (m_dwSelectedTextColor == 0 && m_pManager != nullptr)
        m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
    return m_dwSelectedTextColor;
}

void COptionUI::SetSelectedBkColor(DWORD dwBkColor)
{
    m_dwSelectedBkColor = dwBkColor;
}

DWORD COptionUI::GetSelectBkColor() const
{
    return m_dwSelectedBkColor;
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    // Options never show a pushed state.
    m_uButtonState &= ~StatePushed;
    RefreshState();
    bool bForeImage = true;
    if (m_bSelected)
        bForeImage = PaintSelectedImages(hDC);
    else
        PaintButtonImages(hDC);
    if (bForeImage && !m_sOptionForeImage.IsEmpty())
        DrawStateImage(hDC, m_sOptionForeImage);
}

// A selected option shows its selected hot image under the mouse, else its
// selected image, else its selected background colour (and then no fore
// image: the answer is false); failing all these it paints as a button.
bool COptionUI::PaintSelectedImages(HDC hDC)
{
    if ((m_uButtonState & StateHot) != 0 && !m_sSelectedHotImage.IsEmpty())
    {
        if (!DrawStateImage(hDC, m_sSelectedHotImage))
            PaintButtonImages(hDC);
        return true;
    }
    if (!m_sSelectedImage.IsEmpty())
    {
        if (!DrawStateImage(hDC, m_sSelectedImage))
            PaintButtonImages(hDC);
        return true;
    }
    if (m_dwSelectedBkColor != 0)
    {
        CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
        return false;
    }
    PaintButtonImages(hDC);
    return true;
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected)
    {
        CButtonUI::PaintText(hDC);
        return;
    }
    if (m_pManager == nullptr || m_sText.IsEmpty())
        return;
    const DWORD dwTextColor = m_dwTextColor;
    if (m_dwSelectedTextColor != 0)
        m_dwTextColor = m_dwSelectedTextColor;
    RECT rc = PrepareTextRect();
    DrawLabelText(hDC, rc, StateTextColor(), m_uTextStyle);
    m_dwTextColor = dwTextColor;
}

} // namespace Veneer
