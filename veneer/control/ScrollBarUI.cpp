#include "veneer/control/ScrollBarUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/render/RenderEngine.h"

#include <algorithm>

namespace Veneer
{

namespace
{

const int kDefaultThickness = 16;
const int kDefaultRange = 100;
const int kDefaultLineSize = 8;
const UINT kRepeatTimerId = 10;
const UINT kRepeatTimerElapse = 50; // ms
const int kTicksBeforeRepeat = 5;   // a held press repeats from the sixth tick on
const int kOutlineWidth = 2;        // parts without a usable image are outlined
const DWORD kOutlineColor = 0xFF85E4FF;

bool IsMouseEvent(int type)
{
    return type > EventMouseBegin && type < EventMouseEnd;
}

void SetBit(UINT& uState, UINT uBit, bool bOn)
{
    if (bOn)
        uState |= uBit;
    else
        uState &= ~uBit;
}

bool IsZero(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

const TAttributeHandler<CScrollBarUI> kScrollBarAttributes[] = {
    {L"button1normalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1NormalImage(v); }},
    {L"button1hotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1HotImage(v); }},
    {L"button1pushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1PushedImage(v); }},
    {L"button1disabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1DisabledImage(v); }},
    {L"button2normalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2NormalImage(v); }},
    {L"button2hotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2HotImage(v); }},
    {L"button2pushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2PushedImage(v); }},
    {L"button2disabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2DisabledImage(v); }},
    {L"thumbnormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbNormalImage(v); }},
    {L"thumbhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbHotImage(v); }},
    {L"thumbpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbPushedImage(v); }},
    {L"thumbdisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbDisabledImage(v); }},
    {L"railnormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailNormalImage(v); }},
    {L"railhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailHotImage(v); }},
    {L"railpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailPushedImage(v); }},
    {L"raildisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailDisabledImage(v); }},
    {L"bknormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetBkNormalImage(v); }},
    {L"bkhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetBkHotImage(v); }},
    {L"bkpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetBkPushedImage(v); }},
    {L"bkdisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetBkDisabledImage(v); }},
    {L"hor", [](CScrollBarUI& c, LPCWSTR v) { c.SetHorizontal(ParseAttributeBool(v)); }},
    {L"linesize", [](CScrollBarUI& c, LPCWSTR v) { c.SetLineSize(ParseAttributeInt(v)); }},
    {L"range", [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollRange(ParseAttributeInt(v)); }},
    {L"value", [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollPos(ParseAttributeInt(v)); }},
    {L"showbutton1", [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton1(ParseAttributeBool(v)); }},
    {L"showbutton2", [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton2(ParseAttributeBool(v)); }},
};

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(kDefaultRange), m_nScrollPos(0), m_nLineSize(kDefaultLineSize),
      m_pOwner(nullptr), m_ptLastMouse{}, m_nLastScrollPos(0), m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0), m_bShowButton1(true), m_rcButton1{}, m_uButton1State(0),
      m_bShowButton2(true), m_rcButton2{}, m_uButton2State(0), m_uThumbState(0), m_rcThumb{}
{
    m_cxyFixed.cx = kDefaultThickness;
}

LPCWSTR CScrollBarUI::GetClass() const
{
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName)
{
    return IsNamed(pstrName, L"ScrollBar") ? this : CControlUI::GetInterface(pstrName);
}

CContainerUI* CScrollBarUI::GetOwner() const
{
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* pOwner)
{
    m_pOwner = pOwner;
}

bool CScrollBarUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal)
        return;
    m_bHorizontal = bHorizontal;
    // The thickness moves to the other axis unless one is set there.
    if (m_bHorizontal && m_cxyFixed.cy == 0)
    {
        m_cxyFixed.cx = 0;
        m_cxyFixed.cy = kDefaultThickness;
    }
    else if (!m_bHorizontal && m_cxyFixed.cx == 0)
    {
        m_cxyFixed.cx = kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != nullptr)
        m_pOwner->NeedUpdate();
    else
        NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const
{
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    if (m_nRange == nRange)
        return;
    m_nRange = std::max(nRange, 0);
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const
{
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    if (m_nScrollPos == nPos)
        return;
    m_nScrollPos = std::min(std::max(nPos, 0), m_nRange);
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const
{
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int nSize)
{
    m_nLineSize = nSize;
}

bool CScrollBarUI::GetShowButton1() const
{
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_bShowButton1 = bShow;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const
{
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_bShowButton2 = bShow;
    SetPos(m_rcItem);
}

// The owner lays itself out again when it shows or hides its bar.
void CScrollBarUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

void CScrollBarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (bEnable)
        return;
    m_uButton1State = 0;
    m_uButton2State = 0;
    m_uThumbState = 0;
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != nullptr)
        m_pOwner->SetFocus();
    else
        CControlUI::SetFocus();
}

const RECT& CScrollBarUI::GetButton1Rect() const
{
    return m_rcButton1;
}

const RECT& CScrollBarUI::GetButton2Rect() const
{
    return m_rcButton2;
}

const RECT& CScrollBarUI::GetThumbRect() const
{
    return m_rcThumb;
}

int CScrollBarUI::Thickness() const
{
    return m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
}

// Coordinates along the bar are y for a vertical bar and x for a
// horizontal one; across it, the other way round.
RECT CScrollBarUI::PartRect(int nAlongStart, int nAlongEnd, int nAcrossStart, int nAcrossEnd) const
{
    if (m_bHorizontal)
        return RECT{nAlongStart, nAcrossStart, nAlongEnd, nAcrossEnd};
    return RECT{nAcrossStart, nAlongStart, nAcrossEnd, nAlongEnd};
}

int CScrollBarUI::Along(POINT pt) const
{
    return m_bHorizontal ? pt.x : pt.y;
}

int CScrollBarUI::AlongStart(const RECT& rc) const
{
    return m_bHorizontal ? rc.left : rc.top;
}

int CScrollBarUI::AlongEnd(const RECT& rc) const
{
    return m_bHorizontal ? rc.right : rc.bottom;
}

int CScrollBarUI::AlongLength(const RECT& rc) const
{
    return AlongEnd(rc) - AlongStart(rc);
}

// The length between the shown buttons.
int CScrollBarUI::FreeLength() const
{
    int nFree = AlongLength(m_rcItem);
    if (m_bShowButton1)
        nFree -= Thickness();
    if (m_bShowButton2)
        nFree -= Thickness();
    return nFree;
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    CControlUI::SetPos(rc);
    if (self.Get() == nullptr)
        return;
    const int t = Thickness();
    const int nStart = AlongStart(m_rcItem);
    const int nEnd = AlongEnd(m_rcItem);
    const int nAcross = m_bHorizontal ? m_rcItem.top : m_rcItem.left;
    const int nFree = FreeLength();

    // Step 1: without room for a thumb the shown buttons share the length.
    // A hidden button is an empty rect at its end.
    const int nButton = t >= nFree ? std::min(t, AlongLength(m_rcItem) / 2) : t;
    m_rcButton1 = m_bShowButton1 ? PartRect(nStart, nStart + nButton, nAcross, nAcross + t)
                                 : PartRect(nStart, nStart, nAcross, nAcross);
    m_rcButton2 = m_bShowButton2 ? PartRect(nEnd - nButton, nEnd, nAcross, nAcross + t)
                                 : PartRect(nEnd, nEnd, nAcross, nAcross);
    if (t >= nFree)
    {
        m_rcThumb = RECT{};
        return;
    }

    // Step 2: the thumb shows what part of the content the bar's length is,
    // and is never shorter than the bar is thick.
    const int nFreeStart = AlongEnd(m_rcButton1);
    const int nFreeEnd = AlongStart(m_rcButton2);
    if (m_nRange <= 0)
    {
        m_rcThumb = PartRect(nFreeStart, nFreeEnd, nAcross, nAcross + t);
        return;
    }
    const LONGLONG nLength = AlongLength(m_rcItem);
    const int nThumb = static_cast<int>(std::max<LONGLONG>(nLength * nFree / (nLength + m_nRange), t));
    int nThumbStart =
        nFreeStart + static_cast<int>(static_cast<LONGLONG>(nFree - nThumb) * m_nScrollPos / m_nRange);
    if (nThumbStart + nThumb > nFreeEnd)
        nThumbStart = nFreeEnd - nThumb;
    m_rcThumb = PartRect(nThumbStart, nThumbStart + nThumb, nAcross, nAcross + t);
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    // Step 1: a bar deaf to the mouse lets its owner have mouse events.
    if (!IsMouseEnabled() && IsMouseEvent(event.Type))
    {
        PassOn(event);
        return;
    }
    switch (event.Type)
    {
    case EventSetFocus:
    case EventKillFocus:
    case EventContextMenu:
        return;
    case EventButtonDown:
    case EventDblClick:
        if (IsEnabled())
            PressAt(event.ptMouse);
        return;
    case EventButtonUp:
        Release();
        return;
    case EventMouseMove:
        if ((m_uThumbState & StateCaptured) != 0)
            TrackThumb(event.ptMouse);
        else
            TrackHot(event.ptMouse);
        return;
    case EventMouseEnter:
    case EventMouseLeave:
        if (IsEnabled())
            SetHot(event.Type == EventMouseEnter, event.ptMouse);
        return;
    case EventTimer:
        if (event.wParam == kRepeatTimerId)
        {
            OnTimerTick();
            return;
        }
        break;
    default:
        break;
    }
    // Step 2: the wheel over an owned bar scrolls the owner, and so on.
    PassOn(event);
}

void CScrollBarUI::PassOn(TEventUI& event)
{
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

// A press scrolls at once and arms the repeat timer; a press on the thumb
// starts a drag instead.
void CScrollBarUI::PressAt(POINT pt)
{
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr)
        m_pManager->SetTimer(this, kRepeatTimerId, kRepeatTimerElapse);
    bool bAlive = true;
    if (::PtInRect(&m_rcButton1, pt))
    {
        m_uButton1State |= StatePushed;
        bAlive = ScrollLines(-1);
    }
    else if (::PtInRect(&m_rcButton2, pt))
    {
        m_uButton2State |= StatePushed;
        bAlive = ScrollLines(1);
    }
    else if (::PtInRect(&m_rcThumb, pt))
    {
        m_uThumbState |= StateCaptured | StatePushed;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
    }
    else if (Along(pt) < AlongStart(m_rcThumb))
    {
        bAlive = ScrollPages(-1);
    }
    else if (Along(pt) > AlongEnd(m_rcThumb))
    {
        bAlive = ScrollPages(1);
    }
    if (!bAlive)
        return;
    Invalidate();
    NotifyScroll();
}

void CScrollBarUI::Release()
{
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, kRepeatTimerId);
    if ((m_uThumbState & StateCaptured) != 0)
        m_uThumbState &= ~(StateCaptured | StatePushed);
    else if ((m_uButton1State & StatePushed) != 0)
        m_uButton1State &= ~StatePushed;
    else if ((m_uButton2State & StatePushed) != 0)
        m_uButton2State &= ~StatePushed;
    else
        return;
    Invalidate();
}

// The drag only records how far the thumb should go; the timer moves it,
// so that a burst of mouse moves costs one layout of the owner per tick.
// The thumb travels the length between the shown buttons less its own.
void CScrollBarUI::TrackThumb(POINT pt)
{
    const int nTravel = FreeLength() - AlongLength(m_rcThumb);
    if (nTravel <= 0)
        return;
    const LONGLONG nMoved = Along(pt) - Along(m_ptLastMouse);
    m_nLastScrollOffset = static_cast<int>(nMoved * m_nRange / nTravel);
}

void CScrollBarUI::TrackHot(POINT pt)
{
    const bool bOnThumb = ::PtInRect(&m_rcThumb, pt) != FALSE;
    const bool bHot = IsEnabled() && bOnThumb;
    if (bHot == ((m_uThumbState & StateHot) != 0))
        return;
    SetBit(m_uThumbState, StateHot, bHot);
    Invalidate();
}

void CScrollBarUI::SetHot(bool bHot, POINT pt)
{
    SetBit(m_uButton1State, StateHot, bHot);
    SetBit(m_uButton2State, StateHot, bHot);
    SetBit(m_uThumbState, StateHot, bHot && ::PtInRect(&m_rcThumb, pt));
    Invalidate();
}

void CScrollBarUI::OnTimerTick()
{
    m_nScrollRepeatDelay++;
    // Step 1: a drag moves the position by what the mouse moves recorded.
    if ((m_uThumbState & StateCaptured) != 0)
    {
        if (!MoveTo(m_nLastScrollPos + m_nLastScrollOffset))
            return;
        Invalidate();
        NotifyScroll();
        return;
    }
    // Step 2: a held button or track repeats its action after a pause.
    if (m_nScrollRepeatDelay <= kTicksBeforeRepeat)
        return;
    bool bAlive = true;
    if ((m_uButton1State & StatePushed) != 0)
        bAlive = ScrollLines(-1);
    else if ((m_uButton2State & StatePushed) != 0)
        bAlive = ScrollLines(1);
    else
        bAlive = RepeatTrackPress();
    if (bAlive)
        NotifyScroll();
}

// A held press on the track pages towards the mouse until the thumb
// reaches it.
bool CScrollBarUI::RepeatTrackPress()
{
    if (m_pManager == nullptr)
        return true;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    if (::PtInRect(&m_rcThumb, pt))
        return true;
    if (Along(pt) < AlongStart(m_rcThumb))
        return ScrollPages(-1);
    if (Along(pt) > AlongEnd(m_rcThumb))
        return ScrollPages(1);
    return true;
}

int CScrollBarUI::ClampPos(LONGLONG nPos) const
{
    return static_cast<int>(std::min<LONGLONG>(std::max<LONGLONG>(nPos, 0), m_nRange));
}

bool CScrollBarUI::ScrollLines(int nDirection)
{
    CControlWatch self(this);
    if (m_pOwner == nullptr)
        SetScrollPos(ClampPos(static_cast<LONGLONG>(m_nScrollPos) + nDirection * m_nLineSize));
    else if (m_bHorizontal)
        nDirection < 0 ? m_pOwner->LineLeft() : m_pOwner->LineRight();
    else
        nDirection < 0 ? m_pOwner->LineUp() : m_pOwner->LineDown();
    return self.Get() != nullptr;
}

bool CScrollBarUI::ScrollPages(int nDirection)
{
    CControlWatch self(this);
    const int nPage = m_bHorizontal ? GetWidth() : GetHeight();
    if (m_pOwner == nullptr)
        SetScrollPos(ClampPos(static_cast<LONGLONG>(m_nScrollPos) + nDirection * nPage));
    else if (m_bHorizontal)
        nDirection < 0 ? m_pOwner->PageLeft() : m_pOwner->PageRight();
    else
        nDirection < 0 ? m_pOwner->PageUp() : m_pOwner->PageDown();
    return self.Get() != nullptr;
}

// Through the owner the other axis keeps its position.
bool CScrollBarUI::MoveTo(int nPos)
{
    CControlWatch self(this);
    if (m_pOwner == nullptr)
    {
        SetScrollPos(nPos);
        return self.Get() != nullptr;
    }
    SIZE sz = m_pOwner->GetScrollPos();
    if (m_bHorizontal)
        sz.cx = nPos;
    else
        sz.cy = nPos;
    m_pOwner->SetScrollPos(sz);
    return self.Get() != nullptr;
}

// Only a bar of its own tells the window; an owned bar's owner has moved.
void CScrollBarUI::NotifyScroll()
{
    if (m_pOwner == nullptr && m_pManager != nullptr)
        m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kScrollBarAttributes, *this, pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem))
        return;
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
}

// The image for the state, else the normal one. An image that fails to
// draw is emptied so that it is not tried again. False when neither drew.
bool CScrollBarUI::DrawStateImage(HDC hDC, CUiString* pImages, UINT uState, LPCWSTR pStrModify)
{
    CUiString* pStateImage = nullptr;
    if ((uState & StateDisabled) != 0)
        pStateImage = &pImages[ImageDisabled];
    else if ((uState & StatePushed) != 0)
        pStateImage = &pImages[ImagePushed];
    else if ((uState & StateHot) != 0)
        pStateImage = &pImages[ImageHot];
    for (CUiString* pImage : {pStateImage, &pImages[ImageNormal]})
    {
        if (pImage == nullptr || pImage->IsEmpty())
            continue;
        if (DrawImage(hDC, *pImage, pStrModify))
            return true;
        pImage->Empty();
    }
    return false;
}

// Places an image over a part: its rect relative to the bar's corner.
LPCWSTR CScrollBarUI::DestModifier(const RECT& rcPart)
{
    m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcPart.left - m_rcItem.left, rcPart.top - m_rcItem.top,
                               rcPart.right - m_rcItem.left, rcPart.bottom - m_rcItem.top);
    return m_sImageModify;
}

void CScrollBarUI::PaintPart(HDC hDC, CUiString* pImages, UINT& uState, const RECT& rcPart)
{
    SetBit(uState, StateDisabled, !IsEnabled());
    if (!DrawStateImage(hDC, pImages, uState, DestModifier(rcPart)))
        CRenderEngine::DrawRect(hDC, rcPart, kOutlineWidth, kOutlineColor);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    SetBit(m_uThumbState, StateDisabled, !IsEnabled());
    DrawStateImage(hDC, m_sBkImages, m_uThumbState, nullptr);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (m_bShowButton1)
        PaintPart(hDC, m_sButton1Images, m_uButton1State, m_rcButton1);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (m_bShowButton2)
        PaintPart(hDC, m_sButton2Images, m_uButton2State, m_rcButton2);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (!IsZero(m_rcThumb))
        PaintPart(hDC, m_sThumbImages, m_uThumbState, m_rcThumb);
}

// A square of the bar's thickness centred on the thumb.
void CScrollBarUI::PaintRail(HDC hDC)
{
    if (IsZero(m_rcThumb))
        return;
    SetBit(m_uThumbState, StateDisabled, !IsEnabled());
    const int t = Thickness();
    const int nCentre = (AlongStart(m_rcThumb) + AlongEnd(m_rcThumb)) / 2;
    const int nAcross = m_bHorizontal ? m_rcThumb.top : m_rcThumb.left;
    const int nAcrossEnd = m_bHorizontal ? m_rcThumb.bottom : m_rcThumb.right;
    const RECT rcRail = PartRect(nCentre - t / 2, nCentre - t / 2 + t, nAcross, nAcrossEnd);
    DrawStateImage(hDC, m_sRailImages, m_uThumbState, DestModifier(rcRail));
}

void CScrollBarUI::SetPartImage(CUiString& sImage, LPCWSTR pStrImage)
{
    sImage = pStrImage;
    Invalidate();
}

LPCWSTR CScrollBarUI::GetButton1NormalImage() const
{
    return m_sButton1Images[ImageNormal];
}

void CScrollBarUI::SetButton1NormalImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton1Images[ImageNormal], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton1HotImage() const
{
    return m_sButton1Images[ImageHot];
}

void CScrollBarUI::SetButton1HotImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton1Images[ImageHot], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton1PushedImage() const
{
    return m_sButton1Images[ImagePushed];
}

void CScrollBarUI::SetButton1PushedImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton1Images[ImagePushed], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton1DisabledImage() const
{
    return m_sButton1Images[ImageDisabled];
}

void CScrollBarUI::SetButton1DisabledImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton1Images[ImageDisabled], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton2NormalImage() const
{
    return m_sButton2Images[ImageNormal];
}

void CScrollBarUI::SetButton2NormalImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton2Images[ImageNormal], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton2HotImage() const
{
    return m_sButton2Images[ImageHot];
}

void CScrollBarUI::SetButton2HotImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton2Images[ImageHot], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton2PushedImage() const
{
    return m_sButton2Images[ImagePushed];
}

void CScrollBarUI::SetButton2PushedImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton2Images[ImagePushed], pStrImage);
}

LPCWSTR CScrollBarUI::GetButton2DisabledImage() const
{
    return m_sButton2Images[ImageDisabled];
}

void CScrollBarUI::SetButton2DisabledImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sButton2Images[ImageDisabled], pStrImage);
}

LPCWSTR CScrollBarUI::GetThumbNormalImage() const
{
    return m_sThumbImages[ImageNormal];
}

void CScrollBarUI::SetThumbNormalImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sThumbImages[ImageNormal], pStrImage);
}

LPCWSTR CScrollBarUI::GetThumbHotImage() const
{
    return m_sThumbImages[ImageHot];
}

void CScrollBarUI::SetThumbHotImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sThumbImages[ImageHot], pStrImage);
}

LPCWSTR CScrollBarUI::GetThumbPushedImage() const
{
    return m_sThumbImages[ImagePushed];
}

void CScrollBarUI::SetThumbPushedImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sThumbImages[ImagePushed], pStrImage);
}

LPCWSTR CScrollBarUI::GetThumbDisabledImage() const
{
    return m_sThumbImages[ImageDisabled];
}

void CScrollBarUI::SetThumbDisabledImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sThumbImages[ImageDisabled], pStrImage);
}

LPCWSTR CScrollBarUI::GetRailNormalImage() const
{
    return m_sRailImages[ImageNormal];
}

void CScrollBarUI::SetRailNormalImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sRailImages[ImageNormal], pStrImage);
}

LPCWSTR CScrollBarUI::GetRailHotImage() const
{
    return m_sRailImages[ImageHot];
}

void CScrollBarUI::SetRailHotImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sRailImages[ImageHot], pStrImage);
}

LPCWSTR CScrollBarUI::GetRailPushedImage() const
{
    return m_sRailImages[ImagePushed];
}

void CScrollBarUI::SetRailPushedImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sRailImages[ImagePushed], pStrImage);
}

LPCWSTR CScrollBarUI::GetRailDisabledImage() const
{
    return m_sRailImages[ImageDisabled];
}

void CScrollBarUI::SetRailDisabledImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sRailImages[ImageDisabled], pStrImage);
}

LPCWSTR CScrollBarUI::GetBkNormalImage() const
{
    return m_sBkImages[ImageNormal];
}

void CScrollBarUI::SetBkNormalImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sBkImages[ImageNormal], pStrImage);
}

LPCWSTR CScrollBarUI::GetBkHotImage() const
{
    return m_sBkImages[ImageHot];
}

void CScrollBarUI::SetBkHotImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sBkImages[ImageHot], pStrImage);
}

LPCWSTR CScrollBarUI::GetBkPushedImage() const
{
    return m_sBkImages[ImagePushed];
}

void CScrollBarUI::SetBkPushedImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sBkImages[ImagePushed], pStrImage);
}

LPCWSTR CScrollBarUI::GetBkDisabledImage() const
{
    return m_sBkImages[ImageDisabled];
}

void CScrollBarUI::SetBkDisabledImage(LPCWSTR pStrImage)
{
    SetPartImage(m_sBkImages[ImageDisabled], pStrImage);
}

} // namespace Veneer
