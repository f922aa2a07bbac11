#include "veneer/control/ButtonUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/render/RenderEngine.h"

#include <cwchar>

namespace Veneer
{

namespace
{

const UINT kButtonStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
const int kButtonLineExtra = 8; // a button is this much higher than its font
const wchar_t kKeySpace = L' ';
const wchar_t kKeyReturn = L'\r';

const TAttributeHandler<CButtonUI> kButtonAttributes[] = {
    {L"normalimage", [](CButtonUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", [](CButtonUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"pushedimage", [](CButtonUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"focusedimage", [](CButtonUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"disabledimage", [](CButtonUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"foreimage", [](CButtonUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"hotforeimage", [](CButtonUI& c, LPCWSTR v) { c.SetHotForeImage(v); }},
    {L"hotbkcolor", [](CButtonUI& c, LPCWSTR v) { c.SetHotBkColor(ParseAttributeColor(v)); }},
    {L"hottextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetHotTextColor(ParseAttributeColor(v)); }},
    {L"pushedtextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetPushedTextColor(ParseAttributeColor(v)); }},
    {L"focusedtextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetFocusedTextColor(ParseAttributeColor(v)); }},
};

} // namespace

CButtonUI::CButtonUI()
    : m_uButtonState(0), m_dwHotBkColor(0), m_dwHotTextColor(0), m_dwPushedTextColor(0),
      m_dwFocusedTextColor(0)
{
    m_uTextStyle = kButtonStyle;
}

LPCWSTR CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Button") == 0)
        return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? FlagTabStop : 0) | (IsEnabled() ? FlagSetCursor : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate())
        return false;
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, L"click");
    return true;
}

bool CButtonUI::ActivatePushDown()
{
    if (!CLabelUI::Activate())
        return false;
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, L"buttondown");
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (PassOnMouseEvent(event))
        return;
    if (event.Type == EventSetFocus || event.Type == EventKillFocus)
        Invalidate();
    if (event.Type == EventKeyDown && IsKeyboardEnabled() &&
        (event.chKey == kKeySpace || event.chKey == kKeyReturn))
    {
        Activate();
        return;
    }
    const bool bInside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
    switch (event.Type)
    {
    case EventButtonDown:
    case EventDblClick:
        if (bInside && IsEnabled())
        {
            // The notification may delete the button.
            m_uButtonState |= StatePushed | StateCaptured;
            CControlWatch self(this);
            ActivatePushDown();
            if (self.Get() != nullptr)
                Invalidate();
        }
        return;
    case EventMouseMove:
        if ((m_uButtonState & StateCaptured) != 0)
        {
            m_uButtonState = bInside ? m_uButtonState | StatePushed : m_uButtonState & ~StatePushed;
            Invalidate();
        }
        return;
    case EventButtonUp:
        if ((m_uButtonState & StateCaptured) != 0)
        {
            // The state is cleared first: the click may disable, hide or
            // delete the button.
            m_uButtonState &= ~(StatePushed | StateCaptured);
            Invalidate();
            if (bInside)
                Activate();
        }
        return;
    case EventContextMenu:
        if (IsContextMenuUsed() && m_pManager != nullptr)
            m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
    case EventMouseEnter:
    case EventMouseLeave: {
        const bool bEnter = event.Type == EventMouseEnter;
        if (IsEnabled())
        {
            m_uButtonState = bEnter ? m_uButtonState | StateHot : m_uButtonState & ~StateHot;
            Invalidate();
        }
        if (m_pManager != nullptr)
            m_pManager->SendNotify(this, bEnter ? L"mouseenter" : L"mouseleave", event.wParam, event.lParam);
        break;
    }
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr)
        return CControlUI::EstimateSize(szAvailable);
    return SIZE{m_cxyFixed.cx, m_pManager->GetFontInfo(m_iFont)->tm.tmHeight + kButtonLineExtra};
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kButtonAttributes, *this, pstrName, pstrValue))
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

LPCWSTR CButtonUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sNormalImage, pStrImage);
}

LPCWSTR CButtonUI::GetHotImage() const
{
    return m_sHotImage;
}

void CButtonUI::SetHotImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sHotImage, pStrImage);
}

LPCWSTR CButtonUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sPushedImage, pStrImage);
}

LPCWSTR CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sFocusedImage, pStrImage);
}

LPCWSTR CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sDisabledImage, pStrImage);
}

LPCWSTR CButtonUI::GetForeImage() const
{
    return m_sForeImage;
}

void CButtonUI::SetForeImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sForeImage, pStrImage);
}

LPCWSTR CButtonUI::GetHotForeImage() const
{
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage)
{
    SetAndInvalidate(m_sHotForeImage, pStrImage);
}

void CButtonUI::SetHotBkColor(DWORD dwColor)
{
    m_dwHotBkColor = dwColor;
}

DWORD CButtonUI::GetHotBkColor() const
{
    return m_dwHotBkColor;
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    m_dwHotTextColor = dwColor;
}

DWORD CButtonUI::GetHotTextColor() const
{
    return m_dwHotTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
}

DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
}

DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}

void CButtonUI::RefreshState()
{
    m_uButtonState = IsFocused() ? m_uButtonState | StateFocused : m_uButtonState & ~StateFocused;
    m_uButtonState = IsEnabled() ? m_uButtonState & ~StateDisabled : m_uButtonState | StateDisabled;
}

bool CButtonUI::DrawStateImage(HDC hDC, CUiString& sImage)
{
    if (DrawImage(hDC, sImage))
        return true;
    sImage.Empty();
    return false;
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    RefreshState();
    PaintButtonImages(hDC);
}

// Exactly one state's branch applies, tried in the order disabled, pushed,
// hot, focused: a branch without its image (or whose image fails) falls to
// the normal image. The fore image goes on top, except after a hot image or
// colour and after a pushed fore image.
void CButtonUI::PaintButtonImages(HDC hDC)
{
    const UINT state = m_uButtonState;
    bool bNormal = true;
    if ((state & StateDisabled) != 0)
        bNormal = m_sDisabledImage.IsEmpty() || !DrawStateImage(hDC, m_sDisabledImage);
    else if ((state & StatePushed) != 0)
    {
        if (!m_sPushedImage.IsEmpty())
        {
            DrawStateImage(hDC, m_sPushedImage);
            if (!m_sPushedForeImage.IsEmpty())
            {
                DrawStateImage(hDC, m_sPushedForeImage);
                return;
            }
            bNormal = false;
        }
    }
    else if ((state & StateHot) != 0)
    {
        if (!m_sHotImage.IsEmpty())
        {
            DrawStateImage(hDC, m_sHotImage);
            return;
        }
        if (!m_sHotForeImage.IsEmpty())
        {
            DrawStateImage(hDC, m_sHotForeImage);
            return;
        }
        if (m_dwHotBkColor != 0)
        {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
            return;
        }
    }
    else if ((state & StateFocused) != 0)
        bNormal = m_sFocusedImage.IsEmpty() || !DrawStateImage(hDC, m_sFocusedImage);
    if (bNormal && !m_sNormalImage.IsEmpty())
        DrawStateImage(hDC, m_sNormalImage);
    if (!m_sForeImage.IsEmpty())
        DrawStateImage(hDC, m_sForeImage);
}

DWORD CButtonUI::ButtonTextColor() const
{
    if ((m_uButtonState & StatePushed) != 0 && m_dwPushedTextColor != 0)
        return m_dwPushedTextColor;
    if ((m_uButtonState & StateHot) != 0 && m_dwHotTextColor != 0)
        return m_dwHotTextColor;
    if ((m_uButtonState & StateFocused) != 0 && m_dwFocusedTextColor != 0)
        return m_dwFocusedTextColor;
    return StateTextColor();
}

void CButtonUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    RefreshState();
    if (m_sText.IsEmpty())
        return;
    RECT rc = PrepareTextRect();
    DrawLabelText(hDC, rc, ButtonTextColor(), m_uTextStyle);
}

} // namespace Veneer
