#include "veneer/control/FlowLayoutUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"
#include "veneer/render/RenderEngine.h"

#include <algorithm>
#include <cassert>

namespace Veneer
{

namespace
{

// The two flows tell apart in skins by the name of the separator: a
// height for the vertical one, a width for the horizontal one.
const TAttributeHandler<CFlowLayoutUI> kVerticalAttributes[] = {
    {L"sepheight", [](CFlowLayoutUI& c, LPCWSTR v) { c.SetSepSize(ParseAttributeInt(v)); }},
    {L"sepimm", [](CFlowLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(ParseAttributeBool(v)); }},
};

const TAttributeHandler<CFlowLayoutUI> kHorizontalAttributes[] = {
    {L"sepwidth", [](CFlowLayoutUI& c, LPCWSTR v) { c.SetSepSize(ParseAttributeInt(v)); }},
    {L"sepimm", [](CFlowLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(ParseAttributeBool(v)); }},
};

} // namespace

CFlowLayoutUI::CFlowLayoutUI(bool bVertical)
    : m_bVertical(bVertical), m_iSepSize(0), m_uButtonState(0), m_ptLastMouse{}, m_rcNewPos{},
      m_bImmMode(false)
{
}

LPCWSTR CFlowLayoutUI::GetClass() const
{
    return m_bVertical ? L"VerticalLayoutUI" : L"HorizontalLayoutUI";
}

LPVOID CFlowLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsNamed(pstrName, m_bVertical ? L"VerticalLayout" : L"HorizontalLayout"))
        return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CFlowLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepSize != 0 ? FlagSetCursor : 0;
}

void CFlowLayoutUI::SetPos(RECT rc)
{
    // The children flow inside the inset, beside the visible scroll bars.
    CControlWatch self(this);
    RECT rcClient{};
    if (!BeginLayout(rc, self, AreaClient, rcClient))
        return;
    // A visible horizontal bar widens the area by what it can scroll.
    const SIZE szRange = GetScrollRange();
    const SIZE szAvailable{rcClient.right - rcClient.left + szRange.cx, rcClient.bottom - rcClient.top};
    const FlowTotals totals = MeasureChildren(szAvailable);
    const int nNeeded = PlaceChildren(rcClient, szAvailable, totals, self);
    if (self.Get() != nullptr)
        ProcessScrollBar(rcClient, m_bVertical ? 0 : nNeeded, m_bVertical ? nNeeded : 0);
}

// Measuring pass: the main extent that the fixed children, every child's
// paddings and the gaps between children take, and how many children share
// the rest.
CFlowLayoutUI::FlowTotals CFlowLayoutUI::MeasureChildren(SIZE szAvailable)
{
    FlowTotals totals{0, 0, 0};
    int nSum = 0;
    for (int i = 0; i < GetCount(); i++)
    {
        CControlUI* pChild = GetItemAt(i);
        if (!pChild->IsVisible() || pChild->IsFloat())
            continue;
        RECT rcPadding = pChild->GetPadding();
        const int nMain = Main(pChild->EstimateSize(szAvailable));
        if (nMain == 0)
            totals.nAdjustables++;
        else
            nSum += ClampMain(pChild, nMain);
        nSum += MainBegin(rcPadding) + MainEnd(rcPadding);
        totals.nInFlow++;
    }
    totals.nFixed = nSum + GapsBetween(totals.nInFlow);
    return totals;
}

// Placement pass; answers the main extent that the children need. It stops
// when placing a child deletes the layout.
int CFlowLayoutUI::PlaceChildren(const RECT& rcClient, SIZE szAvailable, const FlowTotals& totals,
                                 const CControlWatch& self)
{
    const int nAvailMain = Main(szAvailable);
    const int nAvailCross = Cross(szAvailable);
    const int iChildPadding = GetChildPadding();

    // Step 1: the even share of each adjustable child.
    const int nShare =
        totals.nAdjustables > 0 ? std::max(0, (nAvailMain - totals.nFixed) / totals.nAdjustables) : 0;

    // Step 2: the flow starts at the client corner moved back by the scroll
    // positions, so that scrolling moves every child by exactly as much.
    const SIZE szScroll = GetScrollPos();
    const POINT ptOrigin{rcClient.left - szScroll.cx, rcClient.top - szScroll.cy};
    int nPos = MainOf(ptOrigin);
    const int nCrossPos = CrossOf(ptOrigin);

    // Step 3: each child in order; the last adjustable one takes what the
    // fixed children still to come leave over.
    int nRemaining = nAvailMain;
    int nFixedRemaining = totals.nFixed;
    int nNeeded = 0;
    int iAdjustable = 0;
    const bool bAlive = PlaceEachChild(self, [&](int, CControlUI* pChild) {
        RECT rcPadding = pChild->GetPadding();
        const int nBefore = MainBegin(rcPadding);
        const int nAfter = MainEnd(rcPadding);
        nRemaining -= nBefore;

        int nMain = Main(pChild->EstimateSize(MakeSize(nRemaining, nAvailCross)));
        if (nMain != 0)
        {
            nMain = ClampMain(pChild, nMain);
            nFixedRemaining -= nMain;
        }
        else
        {
            iAdjustable++;
            nMain = iAdjustable == totals.nAdjustables ? std::max(0, nRemaining - nAfter - nFixedRemaining)
                                                       : nShare;
            nMain = ClampMain(pChild, nMain);
        }

        int nCross = FixedCross(pChild);
        if (nCross == 0)
            nCross = std::max(0, nAvailCross - static_cast<int>(CrossBegin(rcPadding) + CrossEnd(rcPadding)));
        nCross = ClampCross(pChild, nCross);

        // The padding after the child lies inside its rectangle.
        const int nChildBegin = nPos + nBefore;
        const int nCrossBegin = nCrossPos + CrossBegin(rcPadding);
        pChild->SetPos(
            MakeRect(nChildBegin, nCrossBegin, nChildBegin + nMain + nAfter, nCrossBegin + nCross));

        nPos += nMain + iChildPadding + nBefore + nAfter;
        nNeeded += nMain + nBefore + nAfter;
        nRemaining -= nMain + iChildPadding + nAfter;
    });
    return bAlive ? nNeeded + GapsBetween(totals.nInFlow) : 0;
}

// The gaps between n children in the flow; none without children.
int CFlowLayoutUI::GapsBetween(int nChildren) const
{
    return nChildren > 0 ? GetChildPadding() * (nChildren - 1) : 0;
}

void CFlowLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepSize != 0 && HandleDragEvent(event))
        return;
    CContainerUI::DoEvent(event);
}

// The events of the drag band; false for those that it leaves to the
// container.
bool CFlowLayoutUI::HandleDragEvent(const TEventUI& event)
{
    switch (event.Type)
    {
    case EventButtonDown: {
        const RECT rcBand = GetThumbRect(false);
        if (!IsEnabled() || !::PtInRect(&rcBand, event.ptMouse))
            return false;
        BeginDrag(event.ptMouse);
        return true;
    }
    case EventButtonUp:
        if (!IsDragging())
            return false;
        EndDrag();
        return true;
    case EventMouseMove:
        if (!IsDragging())
            return false;
        DragTo(event.ptMouse);
        return true;
    case EventSetCursor: {
        const RECT rcBand = GetThumbRect(false);
        if (!IsEnabled() || !::PtInRect(&rcBand, event.ptMouse))
            return false;
        ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

void CFlowLayoutUI::DoPostPaint(HDC hDC, const RECT&)
{
    if (IsDragging() && !m_bImmMode)
        CRenderEngine::DrawColor(hDC, GetThumbRect(true), DragBandColor);
}

void CFlowLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(m_bVertical ? kVerticalAttributes : kHorizontalAttributes, *this, pstrName,
                        pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CFlowLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately)
        return;
    // An immediate drag paints nothing after the tree.
    if (IsDragging() && !m_bImmMode && m_pManager != nullptr)
        m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediately;
}

bool CFlowLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

RECT CFlowLayoutUI::GetThumbRect(bool bUseNew) const
{
    RECT rc = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    if (m_iSepSize >= 0)
        MainBegin(rc) = std::max<LONG>(MainEnd(rc) - m_iSepSize, MainBegin(rc));
    else
        MainEnd(rc) = std::min<LONG>(MainBegin(rc) - m_iSepSize, MainEnd(rc));
    return rc;
}

void CFlowLayoutUI::SetSepSize(int iSize)
{
    m_iSepSize = iSize;
}

int CFlowLayoutUI::GetSepSize() const
{
    return m_iSepSize;
}

bool CFlowLayoutUI::IsDragging() const
{
    return (m_uButtonState & StateDragging) != 0;
}

void CFlowLayoutUI::BeginDrag(POINT pt)
{
    // A press while a drag is already in progress (its release went
    // elsewhere) must not list the layout for post-painting twice.
    const bool bWasDragging = IsDragging();
    m_uButtonState |= StateDragging;
    m_ptLastMouse = pt;
    m_rcNewPos = m_rcItem;
    if (!m_bImmMode && !bWasDragging && m_pManager != nullptr)
        m_pManager->AddPostPaint(this);
}

void CFlowLayoutUI::EndDrag()
{
    m_uButtonState &= ~StateDragging;
    m_rcItem = m_rcNewPos;
    if (!m_bImmMode && m_pManager != nullptr)
        m_pManager->RemovePostPaint(this);
    NeedParentUpdate();
}

void CFlowLayoutUI::DragTo(POINT pt)
{
    const int nDelta = MainOf(pt) - MainOf(m_ptLastMouse);
    m_ptLastMouse = pt;
    RECT rc = m_rcNewPos;
    if (!MoveDraggedEdge(rc, nDelta, MainOf(pt)) || !LimitDraggedSize(rc))
        return;

    RECT rcInvalidate = GetThumbRect(true);
    m_rcNewPos = rc;
    const int nExtent = MainExtent(rc);
    assert(nExtent >= 0);
    if (m_bVertical)
        SetFixedHeight(nExtent);
    else
        SetFixedWidth(nExtent);

    if (m_bImmMode)
    {
        m_rcItem = rc;
        NeedParentUpdate();
        return;
    }
    // The band leaves its old place for the new one; the band at the item
    // rect is repainted as well.
    const RECT rcNewBand = GetThumbRect(true);
    const RECT rcItemBand = GetThumbRect(false);
    ::UnionRect(&rcInvalidate, &rcInvalidate, &rcNewBand);
    ::UnionRect(&rcInvalidate, &rcInvalidate, &rcItemBand);
    if (m_pManager != nullptr)
        m_pManager->Invalidate(rcInvalidate);
}

// Moves the band's edge by the mouse's step, unless the mouse is on the
// wrong side of the band for that direction: before the band when the edge
// would follow it outwards, beyond it when the edge would follow inwards.
bool CFlowLayoutUI::MoveDraggedEdge(RECT& rc, int nDelta, int nMouse) const
{
    if (m_iSepSize >= 0)
    {
        const LONG nEdge = MainEnd(rc);
        if ((nDelta > 0 && nMouse < nEdge - m_iSepSize) || (nDelta < 0 && nMouse > nEdge))
            return false;
        MainEnd(rc) += nDelta;
    }
    else
    {
        const LONG nEdge = MainBegin(rc);
        if ((nDelta > 0 && nMouse < nEdge) || (nDelta < 0 && nMouse > nEdge - m_iSepSize))
            return false;
        MainBegin(rc) += nDelta;
    }
    return true;
}

// Keeps the dragged size within the layout's own limits: a size past a
// limit is set to the limit, unless the layout is already there, in which
// case the move is refused.
bool CFlowLayoutUI::LimitDraggedSize(RECT& rc) const
{
    const int nCurrent = MainExtent(m_rcNewPos);
    const int nMin = m_bVertical ? GetMinHeight() : GetMinWidth();
    if (MainExtent(rc) <= nMin)
    {
        if (nCurrent <= nMin)
            return false;
        SetDraggedExtent(rc, nMin);
    }
    const int nMax = m_bVertical ? GetMaxHeight() : GetMaxWidth();
    if (MainExtent(rc) >= nMax)
    {
        if (nCurrent >= nMax)
            return false;
        SetDraggedExtent(rc, nMax);
    }
    return true;
}

// Sets the extent by moving the edge that the band drags.
void CFlowLayoutUI::SetDraggedExtent(RECT& rc, int nExtent) const
{
    if (m_iSepSize >= 0)
        MainEnd(rc) = MainBegin(rc) + nExtent;
    else
        MainBegin(rc) = MainEnd(rc) - nExtent;
}

int CFlowLayoutUI::Main(SIZE sz) const
{
    return m_bVertical ? sz.cy : sz.cx;
}

int CFlowLayoutUI::Cross(SIZE sz) const
{
    return m_bVertical ? sz.cx : sz.cy;
}

SIZE CFlowLayoutUI::MakeSize(int nMain, int nCross) const
{
    return m_bVertical ? SIZE{nCross, nMain} : SIZE{nMain, nCross};
}

LONG& CFlowLayoutUI::MainBegin(RECT& rc) const
{
    return m_bVertical ? rc.top : rc.left;
}

LONG& CFlowLayoutUI::MainEnd(RECT& rc) const
{
    return m_bVertical ? rc.bottom : rc.right;
}

LONG& CFlowLayoutUI::CrossBegin(RECT& rc) const
{
    return m_bVertical ? rc.left : rc.top;
}

LONG& CFlowLayoutUI::CrossEnd(RECT& rc) const
{
    return m_bVertical ? rc.right : rc.bottom;
}

int CFlowLayoutUI::MainExtent(const RECT& rc) const
{
    return m_bVertical ? rc.bottom - rc.top : rc.right - rc.left;
}

int CFlowLayoutUI::MainOf(POINT pt) const
{
    return m_bVertical ? pt.y : pt.x;
}

int CFlowLayoutUI::CrossOf(POINT pt) const
{
    return m_bVertical ? pt.x : pt.y;
}

RECT CFlowLayoutUI::MakeRect(int nMainBegin, int nCrossBegin, int nMainEnd, int nCrossEnd) const
{
    return m_bVertical ? RECT{nCrossBegin, nMainBegin, nCrossEnd, nMainEnd}
                       : RECT{nMainBegin, nCrossBegin, nMainEnd, nCrossEnd};
}

int CFlowLayoutUI::ClampMain(const CControlUI* pControl, int nSize) const
{
    return m_bVertical ? ClampHeight(pControl, nSize) : ClampWidth(pControl, nSize);
}

int CFlowLayoutUI::ClampCross(const CControlUI* pControl, int nSize) const
{
    return m_bVertical ? ClampWidth(pControl, nSize) : ClampHeight(pControl, nSize);
}

int CFlowLayoutUI::FixedCross(const CControlUI* pControl) const
{
    return m_bVertical ? pControl->GetFixedWidth() : pControl->GetFixedHeight();
}

} // namespace Veneer
