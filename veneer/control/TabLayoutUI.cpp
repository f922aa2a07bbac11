#include "veneer/control/TabLayoutUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"

namespace Veneer
{

namespace
{

const int kNoSelection = -1;

const TAttributeHandler<CTabLayoutUI> kTabAttributes[] = {
    {L"selectedid", [](CTabLayoutUI& c, LPCWSTR v) { c.SelectItem(ParseAttributeInt(v)); }},
};

} // namespace

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(kNoSelection) {}

LPCWSTR CTabLayoutUI::GetClass() const
{
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName)
{
    return IsNamed(pstrName, L"TabLayout") ? this : CContainerUI::GetInterface(pstrName);
}

// Adding is inserting at the end.
bool CTabLayoutUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, GetCount());
}

// The first child that is visible when it arrives becomes the selection;
// any other is hidden, and one inserted before the selection moves the
// selection's index up. Visibility is read before the container adds the
// child, which hides it for the time being when the tab itself is hidden.
bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    const bool bVisible = pControl != nullptr && pControl->IsVisible();
    if (!CContainerUI::AddAt(pControl, iIndex))
        return false;
    if (m_iCurSel == kNoSelection && bVisible)
    {
        m_iCurSel = GetItemIndex(pControl);
        return true;
    }
    if (m_iCurSel != kNoSelection && iIndex <= m_iCurSel)
        m_iCurSel++;
    pControl->SetVisible(false);
    return true;
}

// Removing the selection selects the first child that remains. The child
// may be deleted by the container's Remove: only its index is used after.
bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr)
        return false;
    const int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl))
        return false;
    if (iIndex == m_iCurSel)
    {
        if (GetCount() > 0)
        {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        }
        else
        {
            m_iCurSel = kNoSelection;
        }
        NeedParentUpdate();
    }
    else if (iIndex < m_iCurSel)
    {
        m_iCurSel--;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = kNoSelection;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

// The selection follows its child when the children are reordered.
bool CTabLayoutUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    CControlUI* pSelected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex))
        return false;
    if (pSelected != nullptr)
        m_iCurSel = GetItemIndex(pSelected);
    return true;
}

// Only the selection is placed, over the inner area; the scroll bars are
// left where they are.
void CTabLayoutUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    RECT rcInner{};
    if (!BeginLayout(rc, self, AreaInner, rcInner))
        return;
    PlaceEachChild(self, [this, &rcInner](int i, CControlUI* pChild) {
        if (i == m_iCurSel)
            PlaceSelection(pChild, rcInner);
    });
}

// The selection fills the inner area less its padding, unless it estimates
// a size of its own.
void CTabLayoutUI::PlaceSelection(CControlUI* pChild, const RECT& rcInner)
{
    const RECT rc = ShrinkRect(rcInner, pChild->GetPadding());
    const SIZE sz = EstimateInArea(pChild, SIZE{rc.right - rc.left, rc.bottom - rc.top});
    pChild->SetPos(RECT{rc.left, rc.top, rc.left + sz.cx, rc.top + sz.cy});
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kTabAttributes, *this, pstrName, pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

int CTabLayoutUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount())
        return false;
    if (iIndex == m_iCurSel)
        return true;
    const int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;

    // Show and focus the new selection, hide the rest. Focus notifications
    // and size observers may delete the layout on the way.
    CControlWatch self(this);
    for (int i = 0; self.Get() != nullptr && i < GetCount(); i++)
    {
        CControlUI* pChild = GetItemAt(i);
        if (i != iIndex)
        {
            pChild->SetVisible(false);
            continue;
        }
        pChild->SetVisible(true);
        pChild->SetFocus();
        if (self.Get() != nullptr)
            SetPos(m_rcItem);
    }
    if (self.Get() == nullptr)
        return true;
    NeedParentUpdate();

    // Focus moves on to the first tab stop of the new page, and the window
    // learns of the change.
    CPaintManagerUI* pManager = m_pManager;
    if (pManager != nullptr)
    {
        pManager->SetNextTabControl();
        if (self.Get() != nullptr)
            pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(iIndex),
                                 static_cast<LPARAM>(iOldSel));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    if (iIndex < 0)
        return false;
    return SelectItem(iIndex);
}

} // namespace Veneer
