#include "TestContainer.h"

#include "veneer/render/RenderEngine.h"

#include <cwchar>

namespace Veneer
{

CTestContainerUI::~CTestContainerUI()
{
    for (int i = 0; i < m_items.GetSize(); i++)
        delete static_cast<CControlUI*>(m_items[i]);
}

LPCWSTR CTestContainerUI::GetClass() const
{
    return L"TestContainerUI";
}

LPVOID CTestContainerUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Container") == 0)
        return this;
    return CControlUI::GetInterface(pstrName);
}

bool CTestContainerUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr || !m_items.Add(pControl))
        return false;
    if (m_pManager != nullptr)
        m_pManager->InitControls(pControl, this);
    else
        pControl->SetManager(nullptr, this, false);
    NeedUpdate();
    return true;
}

bool CTestContainerUI::Remove(CControlUI* pControl)
{
    const int index = m_items.Find(pControl);
    if (index < 0)
        return false;
    m_items.Remove(index);
    NeedUpdate();
    delete pControl;
    return true;
}

int CTestContainerUI::GetCount() const
{
    return m_items.GetSize();
}

CControlUI* CTestContainerUI::GetItemAt(int iIndex) const
{
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

void CTestContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < m_items.GetSize(); i++)
        GetItemAt(i)->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

RECT CTestContainerUI::ChildRect(CControlUI* pControl) const
{
    if (pControl->GetFixedWidth() == 0 || pControl->GetFixedHeight() == 0)
        return m_rcItem;
    const SIZE xy = pControl->GetFixedXY();
    RECT rc{};
    rc.left = m_rcItem.left + xy.cx;
    rc.top = m_rcItem.top + xy.cy;
    rc.right = rc.left + pControl->GetFixedWidth();
    rc.bottom = rc.top + pControl->GetFixedHeight();
    return rc;
}

void CTestContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    for (int i = 0; i < m_items.GetSize(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (pControl->IsVisible())
            pControl->SetPos(ChildRect(pControl));
    }
}

void CTestContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp{};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem))
        return;
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rcTemp, clip);
    CControlUI::DoPaint(hDC, rcPaint);
    for (int i = 0; i < m_items.GetSize(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (pControl->IsVisible() && ::IntersectRect(&rcTemp, &rcPaint, &pControl->GetPos()))
            pControl->DoPaint(hDC, rcPaint);
    }
}

CControlUI* CTestContainerUI::FindInChildren(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    const int nCount = m_items.GetSize();
    for (int n = 0; n < nCount; n++)
    {
        const int i = (uFlags & FindTopFirst) != 0 ? nCount - 1 - n : n;
        CControlUI* pFound = GetItemAt(i)->FindControl(Proc, pData, uFlags);
        if (pFound != nullptr)
            return pFound;
    }
    return nullptr;
}

CControlUI* CTestContainerUI::FindControl(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((uFlags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((uFlags & FindHitTest) != 0 && !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))
        return nullptr;
    if ((uFlags & FindMeFirst) != 0)
    {
        CControlUI* pMe = CControlUI::FindControl(Proc, pData, uFlags);
        if (pMe != nullptr)
            return pMe;
    }
    CControlUI* pChild = FindInChildren(Proc, pData, uFlags);
    if (pChild != nullptr)
        return pChild;
    return (uFlags & FindMeFirst) != 0 ? nullptr : CControlUI::FindControl(Proc, pData, uFlags);
}

} // namespace Veneer
