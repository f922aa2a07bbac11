#include "StackContainer.h"

#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"
#include "veneer/control/ScrollBarUI.h"

#include <algorithm>

namespace Veneer
{

void CStackContainer::SetPos(RECT rc)
{
    m_nLayouts++;
    m_nMaxDepth = std::max(m_nMaxDepth, ++m_nDepth);
    CControlWatch self(this);
    CControlUI::SetPos(rc);
    RECT rcInner = ShrinkRect(m_rcItem, m_rcInset);
    const bool bBarShown = IsBarShown(m_pVerticalScrollBar);
    if (bBarShown)
        rcInner.right -= m_pVerticalScrollBar->GetFixedWidth();
    const int yFirst = rcInner.top - GetScrollPos().cy;
    int y = yFirst;
    PlaceEachChild(self, [&](int, CControlUI* pControl) {
        pControl->SetPos(RECT{rcInner.left, y, rcInner.right, y + pControl->GetFixedHeight()});
        y += pControl->GetFixedHeight();
    });
    const int cyContent = y - yFirst;
    ProcessScrollBar(rcInner, 0, m_fnRequired ? m_fnRequired(cyContent, bBarShown) : cyContent);
    m_nDepth--;
}

} // namespace Veneer
