#include "veneer/control/TextUI.h"

#include "veneer/render/RenderEngine.h"

#include <algorithm>
#include <cwchar>

namespace Veneer
{

namespace
{

// Measuring a text gives it this much height to fill.
const int kMeasureHeight = 9999;

} // namespace

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks{}, m_nHoverLink(-1)
{
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
    m_uTextStyle = DT_WORDBREAK;
}

LPCWSTR CTextUI::GetClass() const
{
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Text") == 0)
        return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? FlagSetCursor : 0;
}

CUiString* CTextUI::GetLinkContent(int iIndex)
{
    return iIndex >= 0 && iIndex < m_nLinks ? &m_sLinks[iIndex] : nullptr;
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; i++)
    {
        if (::PtInRect(&m_rcLinks[i], pt))
            return i;
    }
    return -1;
}

void CTextUI::DoEvent(TEventUI& event)
{
    if (PassOnMouseEvent(event))
        return;
    const int iLink = LinkAt(event.ptMouse);
    switch (event.Type)
    {
    case EventSetCursor:
        if (iLink < 0)
            break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    case EventButtonDown:
    case EventDblClick:
        if (iLink < 0 || (event.Type == EventDblClick && !IsEnabled()))
            break;
        Invalidate();
        return;
    case EventButtonUp:
        if (iLink < 0 || !IsEnabled())
            break;
        if (m_pManager != nullptr)
            m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
        return;
    case EventContextMenu:
        return;
    case EventMouseMove:
        if (!IsEnabled() || m_nLinks == 0)
            break;
        if (iLink != m_nHoverLink)
        {
            m_nHoverLink = iLink;
            Invalidate();
            return;
        }
        break;
    case EventMouseLeave:
        if (!IsEnabled() || m_nLinks == 0 || m_nHoverLink < 0)
            break;
        m_nHoverLink = -1;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    // Measuring needs the window's device context.
    if (m_pManager == nullptr || m_pManager->GetPaintDC() == nullptr)
        return CLabelUI::EstimateSize(szAvailable);
    RECT rcText{m_rcTextPadding.left, 0, std::max(szAvailable.cx, m_cxyFixed.cx) - m_rcTextPadding.right,
                kMeasureHeight};
    const UINT uStyle = m_uTextStyle | DT_CALCRECT;
    if (m_bShowHtml)
    {
        int nNoLinks = 0;
        CRenderEngine::DrawHtmlText(m_pManager->GetPaintDC(), m_pManager->GetResources(), rcText, m_sText,
                                    m_dwTextColor, nullptr, nullptr, nNoLinks, uStyle,
                                    m_pManager->GetMousePos(), false);
    }
    else
        CRenderEngine::DrawTextW(m_pManager->GetPaintDC(), m_pManager->GetResources(), rcText, m_sText,
                                 m_dwTextColor, m_iFont, uStyle, false);
    SIZE size{rcText.right - rcText.left + m_rcTextPadding.left + m_rcTextPadding.right,
              rcText.bottom - rcText.top + m_rcTextPadding.top + m_rcTextPadding.bottom};
    if (m_cxyFixed.cy != 0)
        size.cy = m_cxyFixed.cy;
    return size;
}

void CTextUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    if (m_sText.IsEmpty())
    {
        m_nLinks = 0;
        return;
    }
    RECT rc = PrepareTextRect();
    if (m_bShowHtml)
    {
        m_nLinks = kMaxLinks;
        CRenderEngine::DrawHtmlText(hDC, m_pManager->GetResources(), rc, m_sText, StateTextColor(), m_rcLinks,
                                    m_sLinks, m_nLinks, m_uTextStyle, m_pManager->GetMousePos(),
                                    m_pManager->IsBackgroundTransparent());
    }
    else
    {
        // Plain text has no links.
        m_nLinks = 0;
        CRenderEngine::DrawTextW(hDC, m_pManager->GetResources(), rc, m_sText, StateTextColor(), m_iFont,
                                 m_uTextStyle, m_pManager->IsBackgroundTransparent());
    }
}

} // namespace Veneer
