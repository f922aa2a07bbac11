// Where the container's children show: painting them clipped to the
// container, and finding them by point. Both follow the same rules: the
// children lie in the client area beside the scroll bars, floating ones
// anywhere in the container, and the bars above them all. The rest of the
// container is in ContainerUI.cpp; one class, one concern a file.
#include "veneer/control/ContainerUI.h"

#include "veneer/control/ScrollBarUI.h"
#include "veneer/render/RenderEngine.h"

namespace Veneer
{

namespace
{

bool Meets(const RECT& rc1, const RECT& rc2)
{
    RECT rcTemp{};
    return ::IntersectRect(&rcTemp, &rc1, &rc2) != FALSE;
}

} // namespace

CControlUI* CContainerUI::FindInScrollBars(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    CControlUI* pFound = nullptr;
    if (m_pVerticalScrollBar != nullptr)
        pFound = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (pFound == nullptr && m_pHorizontalScrollBar != nullptr)
        pFound = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    return pFound;
}

// A hit outside the client area does not count for a non-floating child:
// that part of it is scrolled out of sight or under the inset.
CControlUI* CContainerUI::FindInChildren(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    const RECT rcClient = GetClientArea();
    const bool bHitTest = (uFlags & FindHitTest) != 0;
    const bool bTopFirst = (uFlags & FindTopFirst) != 0;
    const int nCount = GetCount();
    for (int n = 0; n < nCount && n < GetCount(); n++)
    {
        CControlUI* pControl = GetItemAt(bTopFirst ? GetCount() - 1 - n : n);
        CControlUI* pFound = pControl->FindControl(Proc, pData, uFlags);
        if (pFound == nullptr)
            continue;
        if (bHitTest && !pFound->IsFloat() && !::PtInRect(&rcClient, *static_cast<const POINT*>(pData)))
            continue;
        return pFound;
    }
    return nullptr;
}

CControlUI* CContainerUI::FindControl(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    // Step 1: a hidden or disabled container hides its whole subtree.
    if ((uFlags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((uFlags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    // Step 2: a hit elsewhere misses the subtree; without mouse children
    // only the bars and the container itself can be hit.
    if ((uFlags & FindHitTest) != 0)
    {
        if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))
            return nullptr;
        if (!m_bMouseChildEnabled)
        {
            CControlUI* pBar = FindInScrollBars(Proc, pData, uFlags);
            return pBar != nullptr ? pBar : CControlUI::FindControl(Proc, pData, uFlags);
        }
    }
    // Step 3: the bars lie above the children.
    CControlUI* pFound = FindInScrollBars(Proc, pData, uFlags);
    if (pFound != nullptr)
        return pFound;
    // Step 4: the container before or after its children, as asked.
    const bool bMeFirst = (uFlags & FindMeFirst) != 0;
    if (bMeFirst)
    {
        pFound = CControlUI::FindControl(Proc, pData, uFlags);
        if (pFound != nullptr)
            return pFound;
    }
    pFound = FindInChildren(Proc, pData, uFlags);
    if (pFound != nullptr || bMeFirst)
        return pFound;
    return CControlUI::FindControl(Proc, pData, uFlags);
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    // Step 1: nothing is drawn outside the container.
    RECT rcTemp{};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem))
        return;
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rcTemp, clip);
    // Step 2: the container itself, then its children.
    CControlUI::DoPaint(hDC, rcPaint);
    if (!m_items.IsEmpty())
        PaintChildren(hDC, rcPaint);
    // Step 3: the bars above everything.
    if (IsBarShown(m_pVerticalScrollBar) && Meets(rcPaint, m_pVerticalScrollBar->GetPos()))
        m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
    if (IsBarShown(m_pHorizontalScrollBar) && Meets(rcPaint, m_pHorizontalScrollBar->GetPos()))
        m_pHorizontalScrollBar->DoPaint(hDC, rcPaint);
}

// Children are clipped to the client area; a floating child is clipped to
// the container only, so that it may draw over the inset and the bars.
void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint)
{
    const RECT rcClient = GetClientArea();
    RECT rcTemp{};
    if (!::IntersectRect(&rcTemp, &rcPaint, &rcClient))
    {
        for (int i = 0; i < GetCount(); i++)
        {
            CControlUI* pControl = GetItemAt(i);
            if (pControl->IsVisible() && pControl->IsFloat() && Meets(rcPaint, pControl->GetPos()) &&
                Meets(m_rcItem, pControl->GetPos()))
                pControl->DoPaint(hDC, rcPaint);
        }
        return;
    }
    CRenderClip childClip;
    CRenderClip::GenerateClip(hDC, rcTemp, childClip);
    for (int i = 0; i < GetCount(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || !Meets(rcPaint, pControl->GetPos()))
            continue;
        if (pControl->IsFloat())
        {
            if (!Meets(m_rcItem, pControl->GetPos()))
                continue;
            CRenderClip::UseOldClipBegin(hDC, childClip);
            pControl->DoPaint(hDC, rcPaint);
            CRenderClip::UseOldClipEnd(hDC, childClip);
        }
        else if (Meets(rcClient, pControl->GetPos()))
        {
            pControl->DoPaint(hDC, rcPaint);
        }
    }
}

} // namespace Veneer
