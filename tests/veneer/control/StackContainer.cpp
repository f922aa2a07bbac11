#include "StackContainer.h"

#include "veneer/control/ScrollBarUI.h"

#include <algorithm>

namespace Veneer
{

void CStackContainer::SetPos(RECT rc)
{
    m_nLayouts++;
    m_nMaxDepth = std::max(m_nMaxDepth, ++m_nDepth);
    CControlUI::SetPos(rc);
    RECT rcInner = m_rcItem;
    rcInner.left += m_rcInset.left;
    rcInner.top += m_rcInset.top;
    rcInner.right -= m_rcInset.right;
    rcInner.bottom -= m_rcInset.bottom;
    const bool bBarShown = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
    if (bBarShown)
        rcInner.right -= m_pVerticalScrollBar->GetFixedWidth();
    const int yFirst = rcInner.top - GetScrollPos().cy;
    int y = yFirst;
    for (int i = 0; i < GetCount(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible())
            continue;
        if (pControl->IsFloat())
        {
            SetFloatPos(i);
            continue;
        }
        pControl->SetPos(RECT{rcInner.left, y, rcInner.right, y + pControl->GetFixedHeight()});
        y += pControl->GetFixedHeight();
    }
    const int cyContent = y - yFirst;
    ProcessScrollBar(rcInner, 0, m_fnRequired ? m_fnRequired(cyContent, bBarShown) : cyContent);
    m_nDepth--;
}

} // namespace Veneer
