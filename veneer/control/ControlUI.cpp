#include "veneer/control/ControlUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/core/Geometry.h"
#include "veneer/render/RenderEngine.h"

namespace Veneer
{

namespace
{

const int kNoSizeLimit = 9999;
const int kDefaultToolTipWidth = 300;
const DWORD kOpaqueAlpha = 0xFF000000;
const int kGradientSteps = 16;
const int kHalfGradientSteps = 8;

bool HasRound(SIZE cxyRound)
{
    return cxyRound.cx > 0 || cxyRound.cy > 0;
}

} // namespace

CControlUI::CControlUI()
    : m_pManager(nullptr), m_pParent(nullptr), m_bUpdateNeeded(true), m_bMenuUsed(false), m_rcItem{},
      m_rcPadding{}, m_cXY{}, m_cxyFixed{}, m_cxyMin{}, m_cxyMax{kNoSizeLimit, kNoSizeLimit},
      m_bVisible(true), m_bInternVisible(true), m_bEnabled(true), m_bMouseEnabled(true),
      m_bKeyboardEnabled(true), m_bFocused(false), m_bFloat(false), m_bSetPos(false), m_tRelativePos{},
      m_chShortcut(0), m_pTag(0), m_dwBackColor(0), m_dwBackColor2(0), m_dwBackColor3(0), m_dwBorderColor(0),
      m_dwFocusBorderColor(0), m_bColorHSL(false), m_nBorderSize(0), m_nBorderStyle(0),
      m_nTooltipWidth(kDefaultToolTipWidth), m_cxyBorderRound{}, m_rcPaint{}, m_rcBorderSize{}
{
}

CControlUI::~CControlUI()
{
    if (destroySource)
        destroySource(this);
    if (m_pManager != nullptr)
        m_pManager->ReapObjects(this);
    CControlWatch::Forget(this);
}

CUiString CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(LPCWSTR pstrName)
{
    const CUiString sOldName = m_sName;
    m_sName = pstrName;
    if (m_pManager != nullptr)
        m_pManager->RenameControl(this, sOldName);
}

LPCWSTR CControlUI::GetClass() const
{
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCWSTR pstrName)
{
    return IsNamed(pstrName, L"Control") ? this : nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != nullptr)
        Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CUiString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(LPCWSTR pstrText)
{
    SetAndInvalidate(m_sText, pstrText);
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    // Step 1: a rectangle turned inside out collapses to its left/top edge.
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;

    // Step 2: what was shown before must be repainted as well.
    CUiRect rcInvalidate = m_rcItem;
    if (::IsRectEmpty(&rcInvalidate))
        rcInvalidate = rc;

    m_rcItem = rc;
    if (m_pManager == nullptr)
        return;

    // Step 3: observers, unless one of them is moving the control again. A
    // handler may delete the control; nothing of it is touched afterwards.
    if (!m_bSetPos && sizeSource)
    {
        CControlWatch self(this);
        m_bSetPos = true;
        sizeSource(this);
        if (self.Get() == nullptr)
            return;
        m_bSetPos = false;
    }

    // Step 4: a float control keeps its offset from the parent's edge that
    // it is anchored to (negative offsets anchor to the right or bottom).
    if (m_bFloat && m_pParent != nullptr)
    {
        const RECT& rcParent = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - rcParent.left : m_rcItem.right - rcParent.right;
        m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - rcParent.top : m_rcItem.bottom - rcParent.bottom;
        m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
        m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
    }

    m_bUpdateNeeded = false;

    // Step 5: repaint the old and the new place, as far as the ancestors show.
    rcInvalidate.Join(m_rcItem);
    if (ClipByAncestors(rcInvalidate))
        m_pManager->Invalidate(rcInvalidate);
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_cXY = szXY;
    NeedLayout(LayoutPlacement);
}

int CControlUI::GetFixedWidth() const
{
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0)
        return;
    m_cxyFixed.cx = cx;
    NeedLayout(LayoutPlacement);
}

int CControlUI::GetFixedHeight() const
{
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0)
        return;
    m_cxyFixed.cy = cy;
    NeedLayout(LayoutPlacement);
}

int CControlUI::GetMinWidth() const
{
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx >= 0)
        SetAndRelayout(m_cxyMin.cx, cx, LayoutPlacement);
}

int CControlUI::GetMaxWidth() const
{
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx >= 0)
        SetAndRelayout(m_cxyMax.cx, cx, LayoutPlacement);
}

int CControlUI::GetMinHeight() const
{
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy >= 0)
        SetAndRelayout(m_cxyMin.cy, cy, LayoutPlacement);
}

int CControlUI::GetMaxHeight() const
{
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy >= 0)
        SetAndRelayout(m_cxyMax.cy, cy, LayoutPlacement);
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = szMove.cx;
    m_tRelativePos.nMoveYPercent = szMove.cy;
    m_tRelativePos.nZoomXPercent = szZoom.cx;
    m_tRelativePos.nZoomYPercent = szZoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE sz)
{
    m_tRelativePos.szParent = sz;
}

TRelativePosUI CControlUI::GetRelativePos() const
{
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_tRelativePos.bRelative;
}

CUiString CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR pstrText)
{
    // "<n>" is how a skin writes a line break inside an attribute.
    CUiString sText(pstrText);
    sText.Replace(L"<n>", L"\r\n");
    m_sToolTip = sText;
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nTooltipWidth = nWidth;
}

int CControlUI::GetToolTipWidth() const
{
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

const CUiString& CControlUI::GetUserData()
{
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR pstrText)
{
    m_sUserData = pstrText;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR pTag)
{
    m_pTag = pTag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible)
        return;
    const bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
    if (IsVisible() != bWasVisible)
        NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    SetAndInvalidate(m_bEnabled, bEnable);
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != nullptr)
        m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat)
{
    SetAndRelayout(m_bFloat, bFloat, LayoutParent);
}

CControlUI* CControlUI::FindControl(FindCallback Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((uFlags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((uFlags & FindHitTest) != 0 &&
        (!IsMouseEnabled() || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))))
        return nullptr;
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    if (initSource)
        initSource(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event)
{
    if (eventSource)
    {
        // An observer may delete the control; then the event ends here.
        CControlWatch self(this);
        const bool bGoOn = eventSource(&event);
        if (self.Get() == nullptr || !bGoOn)
            return;
    }
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type)
    {
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case EventSetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventKillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventTimer:
        if (m_pManager != nullptr)
            m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case EventContextMenu:
        if (IsContextMenuUsed())
        {
            if (m_pManager != nullptr)
                m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    // Unhandled events climb towards the root and end there.
    if (m_pParent != nullptr)
        m_pParent->DoEvent(event);
}

SIZE CControlUI::EstimateSize(SIZE)
{
    return m_cxyFixed;
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem))
        return;
    if (HasRound(m_cxyBorderRound))
    {
        CRenderClip roundClip;
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                       roundClip);
        PaintLayers(hDC);
    }
    else
    {
        PaintLayers(hDC);
    }
}

void CControlUI::PaintLayers(HDC hDC)
{
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0)
        return;
    const DWORD dwColor1 = GetAdjustColor(m_dwBackColor);
    if (m_dwBackColor2 == 0)
    {
        // A blended colour covers the whole item so that it blends the same
        // way whatever part of the control is being repainted.
        const bool bOpaque = (m_dwBackColor & kOpaqueAlpha) == kOpaqueAlpha;
        CRenderEngine::DrawColor(hDC, bOpaque ? m_rcPaint : m_rcItem, dwColor1);
        return;
    }
    const DWORD dwColor2 = GetAdjustColor(m_dwBackColor2);
    if (m_dwBackColor3 == 0)
    {
        CRenderEngine::DrawGradient(hDC, m_rcItem, dwColor1, dwColor2, true, kGradientSteps);
        return;
    }
    RECT rcHalf = m_rcItem;
    rcHalf.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
    CRenderEngine::DrawGradient(hDC, rcHalf, dwColor1, dwColor2, true, kHalfGradientSteps);
    rcHalf.top = rcHalf.bottom;
    rcHalf.bottom = m_rcItem.bottom;
    CRenderEngine::DrawGradient(hDC, rcHalf, dwColor2, GetAdjustColor(m_dwBackColor3), true,
                                kHalfGradientSteps);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (m_sBkImage.IsEmpty())
        return;
    // An image that cannot be drawn is not tried again.
    if (!DrawImage(hDC, m_sBkImage))
        m_sBkImage.Empty();
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0)
        return;
    const bool bFocusColor = m_bFocused && m_dwFocusBorderColor != 0;
    if (m_nBorderSize > 0 && HasRound(m_cxyBorderRound))
    {
        const DWORD dwColor = bFocusColor ? m_dwFocusBorderColor : m_dwBorderColor;
        CRenderEngine::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                     GetAdjustColor(dwColor));
        return;
    }
    if (bFocusColor && m_nBorderSize > 0)
    {
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
        return;
    }
    const bool bPerSide = m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 || m_rcBorderSize.right > 0 ||
                          m_rcBorderSize.bottom > 0;
    if (!bPerSide)
    {
        if (m_nBorderSize > 0)
            CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
        return;
    }
    PaintPerSideBorders(hDC, GetAdjustColor(m_dwBorderColor));
}

// Each side is a line along the item's edge: the rectangle collapsed onto
// that edge, drawn in the order left, top, right, bottom.
void CControlUI::PaintPerSideBorders(HDC hDC, DWORD dwColor)
{
    const RECT& rc = m_rcItem;
    const struct
    {
        LONG nSize;
        RECT rcLine;
    } sides[] = {
        {m_rcBorderSize.left, {rc.left, rc.top, rc.left, rc.bottom}},
        {m_rcBorderSize.top, {rc.left, rc.top, rc.right, rc.top}},
        {m_rcBorderSize.right, {rc.right, rc.top, rc.right, rc.bottom}},
        {m_rcBorderSize.bottom, {rc.left, rc.bottom, rc.right, rc.bottom}},
    };
    for (const auto& side : sides)
    {
        if (side.nSize > 0)
            CRenderEngine::DrawLine(hDC, side.rcLine, side.nSize, dwColor, m_nBorderStyle);
    }
}

void CControlUI::DoPostPaint(HDC, const RECT&) {}

bool CControlUI::ClipByAncestors(RECT& rc) const
{
    for (const CControlUI* pParent = GetParent(); pParent != nullptr; pParent = pParent->GetParent())
    {
        const RECT rcParent = pParent->GetPos();
        if (!::IntersectRect(&rc, &rc, &rcParent))
            return false;
    }
    // A control that has not been laid out yet has an empty rectangle:
    // there is nothing to repaint, and telling the window would cost a round
    // trip to the window server for each attribute that a skin sets.
    return ::IsRectEmpty(&rc) == FALSE;
}

void CControlUI::Invalidate()
{
    if (!IsVisible())
        return;
    RECT rcInvalidate = m_rcItem;
    if (ClipByAncestors(rcInvalidate) && m_pManager != nullptr)
        m_pManager->Invalidate(rcInvalidate);
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible())
        return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr)
        m_pManager->NeedUpdate();
}

void CControlUI::NeedLayout(LayoutScope eScope)
{
    // A float control places itself; any other is placed by its parent.
    if (eScope == LayoutSelf || (eScope == LayoutPlacement && m_bFloat))
        NeedUpdate();
    else
        NeedParentUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (GetParent() != nullptr)
    {
        GetParent()->NeedUpdate();
        GetParent()->Invalidate();
    }
    else
    {
        NeedUpdate();
    }
    if (m_pManager != nullptr)
        m_pManager->NeedUpdate();
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHSL)
        return dwColor;
    short H = 0;
    short S = 0;
    short L = 0;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

void CControlUI::SetVirtualWnd(LPCWSTR pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager != nullptr)
        m_pManager->UsedVirtualWnd(true);
}

CUiString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty())
        return m_sVirtualWnd;
    if (GetParent() != nullptr)
        return GetParent()->GetVirtualWnd();
    return CUiString();
}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    CResourceTables* pResources = m_pManager != nullptr ? m_pManager->GetResources() : nullptr;
    return CRenderEngine::DrawImageString(hDC, pResources, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    SetAndInvalidate(m_dwBackColor, dwBackColor);
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    SetAndInvalidate(m_dwBackColor2, dwBackColor);
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    SetAndInvalidate(m_dwBackColor3, dwBackColor);
}

LPCWSTR CControlUI::GetBkImage() const
{
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sBkImage, pStrImage);
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    SetAndInvalidate(m_dwBorderColor, dwBorderColor);
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    SetAndInvalidate(m_dwFocusBorderColor, dwBorderColor);
}

bool CControlUI::IsColorHSL() const
{
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool bColorHSL)
{
    SetAndInvalidate(m_bColorHSL, bColorHSL);
}

int CControlUI::GetBorderSize() const
{
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int nSize)
{
    SetAndInvalidate(m_nBorderSize, nSize);
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_rcBorderSize = rc;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const
{
    return m_rcBorderSize.left;
}

void CControlUI::SetLeftBorderSize(int nSize)
{
    m_rcBorderSize.left = nSize;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const
{
    return m_rcBorderSize.top;
}

void CControlUI::SetTopBorderSize(int nSize)
{
    m_rcBorderSize.top = nSize;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const
{
    return m_rcBorderSize.right;
}

void CControlUI::SetRightBorderSize(int nSize)
{
    m_rcBorderSize.right = nSize;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const
{
    return m_rcBorderSize.bottom;
}

void CControlUI::SetBottomBorderSize(int nSize)
{
    m_rcBorderSize.bottom = nSize;
    Invalidate();
}

int CControlUI::GetBorderStyle() const
{
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    Invalidate();
}

} // namespace Veneer
