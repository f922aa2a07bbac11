#include "veneer/control/ContainerUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"
#include "veneer/control/ScrollBarUI.h"
#include "veneer/render/RenderEngine.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace Veneer
{

namespace
{

const int kScrollLineGap = 8; // added to the font height for one line

bool Meets(const RECT& rc1, const RECT& rc2)
{
    RECT rcTemp{};
    return ::IntersectRect(&rcTemp, &rc1, &rc2) != FALSE;
}

bool IsShown(const CScrollBarUI* pScrollBar)
{
    return pScrollBar != nullptr && pScrollBar->IsVisible();
}

bool IsUsable(const CScrollBarUI* pScrollBar)
{
    return IsShown(pScrollBar) && pScrollBar->IsEnabled();
}

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

// The bars clamp positions to their ranges; a step from near the largest
// position must not wrap around to a negative one first.
LONG AddClamped(LONG nPos, int nStep)
{
    const LONGLONG nSum = static_cast<LONGLONG>(nPos) + nStep;
    return static_cast<LONG>(std::min<LONGLONG>(std::max<LONGLONG>(nSum, INT_MIN), INT_MAX));
}

// Calls a setter of a control that may be missing; false when it is.
template <typename TValue>
bool ApplyTo(CControlUI* pControl, void (CControlUI::*pfnSet)(TValue), TValue value)
{
    if (pControl == nullptr)
        return false;
    (pControl->*pfnSet)(value);
    return true;
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

// Makes the control's manager let go of it (focus, capture, timers, name,
// queued notifications); visits every control of a subtree.
CControlUI* ForgetInManager(CControlUI* pControl, LPVOID)
{
    CPaintManagerUI* pManager = pControl->GetManager();
    if (pManager != nullptr)
        pManager->ReapObjects(pControl);
    return nullptr;
}

// The wheel event's direction.
const WPARAM kWheelAwayFromUser = 0;
const WPARAM kWheelTowardsUser = 1;

} // namespace

CContainerUI::CContainerUI()
    : m_rcInset{}, m_iChildPadding(0), m_bAutoDestroy(true), m_bDelayedDestroy(true),
      m_bMouseChildEnabled(true), m_bScrollProcess(false), m_pVerticalScrollBar(nullptr),
      m_pHorizontalScrollBar(nullptr)
{
}

CContainerUI::~CContainerUI()
{
    // The children go at once: nothing of the container is left for a
    // delayed deletion to come back to.
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
}

LPCWSTR CContainerUI::GetClass() const
{
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"IContainer") == 0)
        return static_cast<IContainerUI*>(this);
    if (pstrName != nullptr && wcscmp(pstrName, L"Container") == 0)
        return this;
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return pControl != nullptr ? m_items.Find(pControl) : -1;
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = GetItemIndex(pControl);
    // A child can move to any place that the list has once it is out of it.
    if (iOld < 0 || iIndex < 0 || iIndex >= GetCount())
        return false;
    NeedUpdate();
    m_items.Remove(iOld);
    return m_items.InsertAt(iIndex, pControl);
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, GetCount());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    // A control listed twice would be deleted twice, and one that holds
    // itself would be searched forever.
    if (pControl == nullptr || pControl == this || GetItemIndex(pControl) >= 0)
        return false;
    if (iIndex < 0 || iIndex > GetCount())
        return false;
    if (m_pManager != nullptr)
        m_pManager->InitControls(pControl, this);
    else
        pControl->SetManager(nullptr, this, false);
    if (IsVisible())
        NeedUpdate();
    else
        pControl->SetInternVisible(false);
    return m_items.InsertAt(iIndex, pControl);
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    if (iIndex < 0)
        return false;
    NeedUpdate();
    // Out of the list first: no destructor or handler may meet a child on
    // its way out.
    m_items.Remove(iIndex);
    DestroyItem(pControl);
    return true;
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    return pControl != nullptr && Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    CStdPtrArray aItems(m_items);
    m_items.Empty();
    for (int i = 0; i < aItems.GetSize(); i++)
        DestroyItem(static_cast<CControlUI*>(aItems[i]));
    NeedUpdate();
}

// Deletes a child that has left the list, through the manager's delayed
// cleanup when it may still be handling an event of its own. A child that
// is kept leaves the window altogether: the container and the manager may
// both go before it does.
void CContainerUI::DestroyItem(CControlUI* pControl)
{
    if (!m_bAutoDestroy)
    {
        pControl->FindControl(ForgetInManager, nullptr, FindAll);
        pControl->SetManager(nullptr, nullptr, false);
        return;
    }
    if (m_bDelayedDestroy && m_pManager != nullptr)
        m_pManager->AddDelayedCleanup(pControl);
    else
        delete pControl;
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < GetCount(); i++)
        GetItemAt(i)->SetManager(pManager, this, bInit);
    if (m_pVerticalScrollBar != nullptr)
        m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar != nullptr)
        m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::SetPos(RECT rc)
{
    // A size observer, its own or a child's, may delete the container.
    CControlWatch self(this);
    CControlUI::SetPos(rc);
    if (self.Get() == nullptr || m_items.IsEmpty())
        return;
    // Every child covers the whole inner area, unless it places itself.
    const RECT rcInner = ShrinkRect(m_rcItem, m_rcInset);
    for (int i = 0; self.Get() != nullptr && i < GetCount(); i++)
    {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible())
            continue;
        if (pControl->IsFloat())
            SetFloatPos(i);
        else
            pControl->SetPos(rcInner);
    }
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible)
        return;
    CControlUI::SetVisible(bVisible);
    for (int i = 0; i < GetCount(); i++)
        GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (int i = 0; i < GetCount(); i++)
        GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar != nullptr)
        m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    if (m_pHorizontalScrollBar != nullptr)
        m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    CControlUI::SetMouseEnabled(bEnable);
}

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

int CContainerUI::FindSelectable(int iIndex, bool bForward) const
{
    const int nCount = GetCount();
    if (nCount == 0)
        return -1;
    iIndex = std::min(std::max(iIndex, 0), nCount - 1);
    const int iStep = bForward ? 1 : -1;
    for (int i = iIndex; i >= 0 && i < nCount; i += iStep)
    {
        CControlUI* pControl = GetItemAt(i);
        if (pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled())
            return i;
    }
    // Nothing selectable before the index: the first one after it will do.
    return bForward ? -1 : FindSelectable(0, true);
}

CControlUI* CContainerUI::FindSubControl(LPCWSTR pstrSubControlName)
{
    if (pstrSubControlName == nullptr)
        return nullptr;
    return FindControl(CPaintManagerUI::__FindControlFromName, const_cast<LPWSTR>(pstrSubControlName),
                       FindAll);
}

bool CContainerUI::SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    return ApplyTo<LPCWSTR>(FindSubControl(pstrSubControlName), &CControlUI::SetText, pstrText);
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy)
{
    return ApplyTo<int>(FindSubControl(pstrSubControlName), &CControlUI::SetFixedHeight, cy);
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx)
{
    return ApplyTo<int>(FindSubControl(pstrSubControlName), &CControlUI::SetFixedWidth, cx);
}

bool CContainerUI::SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    return ApplyTo<LPCWSTR>(FindSubControl(pstrSubControlName), &CControlUI::SetUserData, pstrText);
}

CUiString CContainerUI::GetSubControlText(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetText() : CUiString();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetFixedWidth() : -1;
}

CUiString CContainerUI::GetSubControlUserData(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetUserData() : CUiString();
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsFloat())
        return;
    // Step 1: a negative offset anchors the child to the right or bottom edge.
    const SIZE szXY = pControl->GetFixedXY();
    const int cx = pControl->GetFixedWidth();
    const int cy = pControl->GetFixedHeight();
    RECT rc{};
    rc.left = szXY.cx >= 0 ? m_rcItem.left + szXY.cx : m_rcItem.right + szXY.cx - cx;
    rc.right = szXY.cx >= 0 ? rc.left + cx : m_rcItem.right + szXY.cx;
    rc.top = szXY.cy >= 0 ? m_rcItem.top + szXY.cy : m_rcItem.bottom + szXY.cy - cy;
    rc.bottom = szXY.cy >= 0 ? rc.top + cy : m_rcItem.bottom + szXY.cy;

    // Step 2: a relative child follows the change in the container's size
    // since it was last placed; the child's SetPos keeps the result as its
    // new fixed position and size.
    if (pControl->IsRelativePos())
    {
        const TRelativePosUI tRelative = pControl->GetRelativePos();
        const SIZE szParent{GetWidth(), GetHeight()};
        if (tRelative.szParent.cx != 0)
        {
            const int cxGrowth = szParent.cx - tRelative.szParent.cx;
            const int cyGrowth = szParent.cy - tRelative.szParent.cy;
            rc.left += cxGrowth * tRelative.nMoveXPercent / 100;
            rc.top += cyGrowth * tRelative.nMoveYPercent / 100;
            rc.right = rc.left + cxGrowth * tRelative.nZoomXPercent / 100 + cx;
            rc.bottom = rc.top + cyGrowth * tRelative.nZoomYPercent / 100 + cy;
        }
        pControl->SetRelativeParentSize(szParent);
    }
    pControl->SetPos(rc);
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

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired)
{
    // Step 1: the horizontal bar lies below the area; its range is the
    // layout's business.
    (void)cxRequired;
    CControlWatch self(this);
    if (IsShown(m_pHorizontalScrollBar))
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

RECT CContainerUI::GetClientArea() const
{
    RECT rc = ShrinkRect(m_rcItem, m_rcInset);
    if (IsShown(m_pVerticalScrollBar))
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsShown(m_pHorizontalScrollBar))
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

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
    if (IsShown(m_pVerticalScrollBar) && Meets(rcPaint, m_pVerticalScrollBar->GetPos()))
        m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
    if (IsShown(m_pHorizontalScrollBar) && Meets(rcPaint, m_pHorizontalScrollBar->GetPos()))
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

void CContainerUI::DoEvent(TEventUI& event)
{
    // Step 1: a container deaf to the mouse hands mouse events up.
    const bool bMouseEvent = event.Type > EventMouseBegin && event.Type < EventMouseEnd;
    if (!IsMouseEnabled() && bMouseEvent)
    {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    // Step 2: focus changes only mark the container; it draws no focus.
    if (event.Type == EventSetFocus || event.Type == EventKillFocus)
    {
        m_bFocused = event.Type == EventSetFocus;
        return;
    }
    // Step 3: keys and the wheel scroll along the usable bar, the vertical
    // one first.
    if (IsUsable(m_pVerticalScrollBar))
    {
        if (ScrollByEvent(event, true))
            return;
    }
    else if (IsUsable(m_pHorizontalScrollBar) && ScrollByEvent(event, false))
    {
        return;
    }
    CControlUI::DoEvent(event);
}

bool CContainerUI::ScrollByEvent(const TEventUI& event, bool bVertical)
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

SIZE CContainerUI::GetScrollPos() const
{
    SIZE sz{};
    if (IsShown(m_pVerticalScrollBar))
        sz.cy = m_pVerticalScrollBar->GetScrollPos();
    if (IsShown(m_pHorizontalScrollBar))
        sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE sz{};
    if (IsShown(m_pVerticalScrollBar))
        sz.cy = m_pVerticalScrollBar->GetScrollRange();
    if (IsShown(m_pHorizontalScrollBar))
        sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    // Step 1: the bars clamp the position; what they really moved counts.
    int cx = 0;
    int cy = 0;
    if (IsShown(m_pVerticalScrollBar))
    {
        const int nOld = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - nOld;
    }
    if (IsShown(m_pHorizontalScrollBar))
    {
        const int nOld = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - nOld;
    }
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
    if (IsShown(m_pHorizontalScrollBar))
        cy -= m_pHorizontalScrollBar->GetFixedHeight();
    return std::max(cy, 0);
}

int CContainerUI::GetPageWidth() const
{
    int cx = GetWidth() - m_rcInset.left - m_rcInset.right;
    if (IsShown(m_pVerticalScrollBar))
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

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    // A bar deleted here may be handling an event of its own; it watches
    // for that and touches nothing of itself afterwards.
    if (bEnableVertical && m_pVerticalScrollBar == nullptr)
    {
        m_pVerticalScrollBar = NewScrollBar(this, m_pManager, false);
    }
    else if (!bEnableVertical && m_pVerticalScrollBar != nullptr)
    {
        CScrollBarUI* pScrollBar = m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
        delete pScrollBar;
    }
    if (bEnableHorizontal && m_pHorizontalScrollBar == nullptr)
    {
        m_pHorizontalScrollBar = NewScrollBar(this, m_pManager, true);
    }
    else if (!bEnableHorizontal && m_pHorizontalScrollBar != nullptr)
    {
        CScrollBarUI* pScrollBar = m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
        delete pScrollBar;
    }
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

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr)
        return;
    if (wcscmp(pstrName, L"inset") == 0)
        SetInset(ParseAttributeRect(pstrValue));
    else if (wcscmp(pstrName, L"mousechild") == 0)
        SetMouseChildEnabled(ParseAttributeBool(pstrValue));
    else if (wcscmp(pstrName, L"vscrollbar") == 0)
        EnableScrollBar(ParseAttributeBool(pstrValue), m_pHorizontalScrollBar != nullptr);
    else if (wcscmp(pstrName, L"vscrollbarstyle") == 0)
    {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        m_pVerticalScrollBar->ApplyAttributeList(pstrValue);
    }
    else if (wcscmp(pstrName, L"hscrollbar") == 0)
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseAttributeBool(pstrValue));
    else if (wcscmp(pstrName, L"hscrollbarstyle") == 0)
    {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        m_pHorizontalScrollBar->ApplyAttributeList(pstrValue);
    }
    else if (wcscmp(pstrName, L"childpadding") == 0)
        SetChildPadding(ParseAttributeInt(pstrValue));
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

} // namespace Veneer
