// The container's child list and what it hands down to its children:
// manager, visibility, mouse settings and places. Scrolling is in
// ContainerScroll.cpp, painting and hit-testing in ContainerPaint.cpp: one
// class, one concern a file.
#include "veneer/control/ContainerUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"
#include "veneer/control/ScrollBarUI.h"

#include <algorithm>

namespace Veneer
{

namespace
{

// Calls a setter of a control that may be missing; false when it is.
template <typename TValue>
bool ApplyTo(CControlUI* pControl, void (CControlUI::*pfnSet)(TValue), TValue value)
{
    if (pControl == nullptr)
        return false;
    (pControl->*pfnSet)(value);
    return true;
}

// Makes the control's manager let go of it (focus, capture, timers, name,
// queued notifications); visits every control of a subtree.
CControlUI* ForgetInManager(CControlUI* pControl, LPVOID)
{
    CPaintManagerUI* pManager = pControl->GetManager();
    if (pManager != nullptr)
        pManager->ReapObjects(pControl);
    return nullptr;
}

// A style list makes its bar first, keeping the other bar as it is.
const TAttributeHandler<CContainerUI> kContainerAttributes[] = {
    {L"inset", [](CContainerUI& c, LPCWSTR v) { c.SetInset(ParseAttributeRect(v)); }},
    {L"mousechild", [](CContainerUI& c, LPCWSTR v) { c.SetMouseChildEnabled(ParseAttributeBool(v)); }},
    {L"vscrollbar",
     [](CContainerUI& c, LPCWSTR v) {
         c.EnableScrollBar(ParseAttributeBool(v), c.GetHorizontalScrollBar() != nullptr);
     }},
    {L"vscrollbarstyle",
     [](CContainerUI& c, LPCWSTR v) {
         c.EnableScrollBar(true, c.GetHorizontalScrollBar() != nullptr);
         c.GetVerticalScrollBar()->ApplyAttributeList(v);
     }},
    {L"hscrollbar",
     [](CContainerUI& c, LPCWSTR v) {
         c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, ParseAttributeBool(v));
     }},
    {L"hscrollbarstyle",
     [](CContainerUI& c, LPCWSTR v) {
         c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, true);
         c.GetHorizontalScrollBar()->ApplyAttributeList(v);
     }},
    {L"childpadding", [](CContainerUI& c, LPCWSTR v) { c.SetChildPadding(ParseAttributeInt(v)); }},
};

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
    if (IsNamed(pstrName, L"IContainer"))
        return static_cast<IContainerUI*>(this);
    if (IsNamed(pstrName, L"Container"))
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

// Every child covers the whole inner area, unless it places itself.
void CContainerUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    RECT rcInner{};
    if (!BeginLayout(rc, self, AreaInner, rcInner))
        return;
    PlaceEachChild(self, [&rcInner](int, CControlUI* pChild) { pChild->SetPos(rcInner); });
}

bool CContainerUI::BeginLayout(RECT rc, const CControlWatch& self, LayoutArea eArea, RECT& rcArea)
{
    // Step 1: the container's own place. A size observer, the container's
    // own or a child's, may delete the container: nothing of it is touched
    // after that.
    CControlUI::SetPos(rc);
    if (self.Get() == nullptr)
        return false;

    // Step 2: the children's area. A layout beside the scroll bars hands
    // them that area even without children, so that a horizontal bar stays
    // inside the container.
    if (eArea == AreaInner)
    {
        rcArea = ShrinkRect(m_rcItem, m_rcInset);
        return GetCount() > 0;
    }
    rcArea = CollapseInverted(GetClientArea());
    if (GetCount() > 0)
        return true;
    ProcessScrollBar(rcArea, 0, 0);
    return false;
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
    // Step 3: keys and the wheel scroll.
    if (!ScrollByEvent(event))
        CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kContainerAttributes, *this, pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

} // namespace Veneer
