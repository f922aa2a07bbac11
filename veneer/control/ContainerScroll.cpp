// The container's scrolling: its scroll bars, the commands that move the
// children under them, and the keys and wheel that call those commands.
// The rest of the container is in ContainerUI.cpp; one class, one concern a
// file.
#include "veneer/control/ContainerUI.h"

#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"
#include "veneer/control/ScrollBarUI.h"

#include <algorithm>
#include <climits>

namespace Veneer
{

namespace
{

const int kScrollLineGap = 8; // added to the font height for one line

// A bar made by the container for itself, styled by the window's default
// attribute list for its kind.
CScrollBarUI* NewScrollBar(CContainerUI* pOwner, CPaintManagerUI* pManager, bool bHorizontal)
{
    CScrollBarUI* pScrollBar = new CScrollBarUI();
    pScrollBar->SetOwner(pOwner);
    if (bHorizontal)
        pScrollBar->SetHorizontal(true);
    pScrollBar->SetManager(pManager, nullptr, false);
    if (pManager != nullptr)
    {
        LPCWSTR pstrList = pManager->GetDefaultAttributeList(bHorizontal ? L"HScrollBar" : L"VScrollBar");
        if (pstrList != nullptr)
            pScrollBar->ApplyAttributeList(pstrList);
    }
    return pScrollBar;
}

// Creates a missing bar or deletes an existing one, as asked. A bar deleted
// here may be handling an event of its own; it watches for that and touches
// nothing of itself afterwards.
void EnableBar(CScrollBarUI*& pScrollBar, bool bEnable, CContainerUI* pOwner, CPaintManagerUI* pManager,
               bool bHorizontal)
{
    if (bEnable && pScrollBar == nullptr)
    {
        pScrollBar = NewScrollBar(pOwner, pManager, bHorizontal);
    }
    else if (!bEnable && pScrollBar != nullptr)
    {
        CScrollBarUI* pDeleted = pScrollBar;
        pScrollBar = nullptr;
        delete pDeleted;
    }
}

// Sets a bar's position; answers how far the bar really moved, as it clamps
// the position to its range.
int MoveBar(CScrollBarUI& scrollBar, int nPos)
{
    const int nOld = scrollBar.GetScrollPos();
    scrollBar.SetScrollPos(nPos);
    return scrollBar.GetScrollPos() - nOld;
}

// The bars clamp positions to their ranges; a step from near the largest
// position must not wrap around to a negative one first.
LONG AddClamped(LONG nPos, int nStep)
{
    const LONGLONG nSum = static_cast<LONGLONG>(nPos) + nStep;
    return static_cast<LONG>(std::min<LONGLONG>(std::max<LONGLONG>(nSum, INT_MIN), INT_MAX));
}

// The keys that scroll a container, and what they do along each axis.
struct ScrollKey
{
    wchar_t chKey;
    void (CContainerUI::*pfnVertical)();
    void (CContainerUI::*pfnHorizontal)();
};

const ScrollKey kScrollKeys[] = {
    {VK_DOWN, &CContainerUI::LineDown, &CContainerUI::LineRight},
    {VK_UP, &CContainerUI::LineUp, &CContainerUI::LineLeft},
    {VK_NEXT, &CContainerUI::PageDown, &CContainerUI::PageRight},
    {VK_PRIOR, &CContainerUI::PageUp, &CContainerUI::PageLeft},
    {VK_HOME, &CContainerUI::HomeUp, &CContainerUI::HomeLeft},
    {VK_END, &CContainerUI::EndDown, &CContainerUI::EndRight},
};

// The wheel event's direction.
const WPARAM kWheelAwayFromUser = 0;
const WPARAM kWheelTowardsUser = 1;

} // namespace

bool CContainerUI::IsBarShown(const CScrollBarUI* pScrollBar)
{
    return pScrollBar != nullptr && pScrollBar->IsVisible();
}

SIZE CContainerUI::ReadShownBars(int (CScrollBarUI::*pfnRead)() const) const
{
    SIZE sz{};
    if (IsBarShown(m_pVerticalScrollBar))
        sz.cy = (m_pVerticalScrollBar->*pfnRead)();
    if (IsBarShown(m_pHorizontalScrollBar))
        sz.cx = (m_pHorizontalScrollBar->*pfnRead)();
    return sz;
}

SIZE CContainerUI::GetScrollPos() const
{
    return ReadShownBars(&CScrollBarUI::GetScrollPos);
}

SIZE CContainerUI::GetScrollRange() const
{
    return ReadShownBars(&CScrollBarUI::GetScrollRange);
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    // Step 1: the shown bars clamp the position; what they really moved
    // counts.
    const int cy = IsBarShown(m_pVerticalScrollBar) ? MoveBar(*m_pVerticalScrollBar, szPos.cy) : 0;
    const int cx = IsBarShown(m_pHorizontalScrollBar) ? MoveBar(*m_pHorizontalScrollBar, szPos.cx) : 0;
    if (cx == 0 && cy == 0)
        return;
    // Step 2: the children move the other way. A size observer of a child
    // may delete the container.
    CControlWatch self(this);
    for (int i = 0; self.Get() != nullptr && i < GetCount(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat())
            continue;
        RECT rc = pControl->GetPos();
        ::OffsetRect(&rc, -cx, -cy);
        pControl->SetPos(rc);
    }
    if (self.Get() != nullptr)
        Invalidate();
}

int CContainerUI::GetLineHeight()
{
    if (m_pManager == nullptr)
        return kScrollLineGap;
    return m_pManager->GetDefaultFontInfo()->tm.tmHeight + kScrollLineGap;
}

// A page is what the client area shows; an inset larger than the container
// leaves no page rather than one that runs backwards.
int CContainerUI::GetPageHeight() const
{
    int cy = GetHeight() - m_rcInset.top - m_rcInset.bottom;
    if (IsBarShown(m_pHorizontalScrollBar))
        cy -= m_pHorizontalScrollBar->GetFixedHeight();
    return std::max(cy, 0);
}

int CContainerUI::GetPageWidth() const
{
    int cx = GetWidth() - m_rcInset.left - m_rcInset.right;
    if (IsBarShown(m_pVerticalScrollBar))
        cx -= m_pVerticalScrollBar->GetFixedWidth();
    return std::max(cx, 0);
}

void CContainerUI::ScrollBy(int cx, int cy)
{
    SIZE sz = GetScrollPos();
    sz.cx = AddClamped(sz.cx, cx);
    sz.cy = AddClamped(sz.cy, cy);
    SetScrollPos(sz);
}

void CContainerUI::LineUp()
{
    ScrollBy(0, -GetLineHeight());
}

void CContainerUI::LineDown()
{
    ScrollBy(0, GetLineHeight());
}

void CContainerUI::PageUp()
{
    ScrollBy(0, -GetPageHeight());
}

void CContainerUI::PageDown()
{
    ScrollBy(0, GetPageHeight());
}

void CContainerUI::HomeUp()
{
    ScrollBy(0, -GetScrollPos().cy);
}

void CContainerUI::EndDown()
{
    ScrollBy(0, GetScrollRange().cy - GetScrollPos().cy);
}

void CContainerUI::LineLeft()
{
    ScrollBy(-kScrollLineGap, 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(kScrollLineGap, 0);
}

void CContainerUI::PageLeft()
{
    ScrollBy(-GetPageWidth(), 0);
}

void CContainerUI::PageRight()
{
    ScrollBy(GetPageWidth(), 0);
}

void CContainerUI::HomeLeft()
{
    ScrollBy(-GetScrollPos().cx, 0);
}

void CContainerUI::EndRight()
{
    ScrollBy(GetScrollRange().cx - GetScrollPos().cx, 0);
}

bool CContainerUI::ScrollByEvent(const TEventUI& event)
{
    if (IsBarShown(m_pVerticalScrollBar) && m_pVerticalScrollBar->IsEnabled())
        return ScrollAlong(event, true);
    return IsBarShown(m_pHorizontalScrollBar) && m_pHorizontalScrollBar->IsEnabled() &&
           ScrollAlong(event, false);
}

bool CContainerUI::ScrollAlong(const TEventUI& event, bool bVertical)
{
    if (event.Type == EventScrollWheel)
    {
        if (event.wParam != kWheelAwayFromUser && event.wParam != kWheelTowardsUser)
            return false;
        const bool bForward = event.wParam == kWheelTowardsUser;
        if (bVertical)
            bForward ? LineDown() : LineUp();
        else
            bForward ? LineRight() : LineLeft();
        return true;
    }
    if (event.Type != EventKeyDown)
        return false;
    for (const ScrollKey& key : kScrollKeys)
    {
        if (key.chKey == event.chKey)
        {
            (this->*(bVertical ? key.pfnVertical : key.pfnHorizontal))();
            return true;
        }
    }
    return false;
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    EnableBar(m_pVerticalScrollBar, bEnableVertical, this, m_pManager, false);
    EnableBar(m_pHorizontalScrollBar, bEnableHorizontal, this, m_pManager, true);
    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

RECT CContainerUI::GetClientArea() const
{
    RECT rc = ShrinkRect(m_rcItem, m_rcInset);
    if (IsBarShown(m_pVerticalScrollBar))
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsBarShown(m_pHorizontalScrollBar))
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired)
{
    // Step 1: the horizontal bar lies below the area; its range is the
    // layout's business.
    (void)cxRequired;
    CControlWatch self(this);
    if (IsBarShown(m_pHorizontalScrollBar))
    {
        const RECT rcBar{rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()};
        m_pHorizontalScrollBar->SetPos(rcBar);
    }
    if (self.Get() == nullptr || m_pVerticalScrollBar == nullptr)
        return;

    // Step 2: content taller than the area shows the bar and lays the
    // children out again beside it.
    const int cyExcess = cyRequired - std::max<int>(rc.bottom - rc.top, 0);
    if (cyExcess > 0 && !m_pVerticalScrollBar->IsVisible())
    {
        if (m_bScrollProcess)
            return;
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyExcess);
        m_pVerticalScrollBar->SetScrollPos(0);
        RelayoutForScrollBar();
        return;
    }
    if (!m_pVerticalScrollBar->IsVisible())
        return;

    // Step 3: content that fits again hides the bar, unless this is the
    // layout that the bar's appearance asked for.
    if (cyExcess <= 0 && !m_bScrollProcess)
    {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        RelayoutForScrollBar();
        return;
    }

    // Step 4: the bar stays, beside the area, with the excess as its range.
    // A position that the smaller range lowered moves the children.
    const RECT rcBar{rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom};
    m_pVerticalScrollBar->SetPos(rcBar);
    if (self.Get() == nullptr || m_pVerticalScrollBar->GetScrollRange() == cyExcess)
        return;
    const int nOldPos = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollRange(std::max(cyExcess, 0));
    if (m_pVerticalScrollBar->GetScrollRange() == 0)
    {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
    }
    if (nOldPos > m_pVerticalScrollBar->GetScrollPos())
        RelayoutForScrollBar();
}

// Lays the container out again because a scroll bar appeared or went. The
// flag keeps the layout that this starts from starting another: a layout
// whose need for the bar flips when the bar comes or goes would otherwise
// recurse without end.
void CContainerUI::RelayoutForScrollBar()
{
    if (m_bScrollProcess)
        return;
    CControlWatch self(this);
    m_bScrollProcess = true;
    SetPos(m_rcItem);
    if (self.Get() != nullptr)
        m_bScrollProcess = false;
}

} // namespace Veneer
