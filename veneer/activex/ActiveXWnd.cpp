#include "veneer/activex/ActiveXWnd.h"

#include "veneer/activex/ActiveXCtrl.h"

namespace Veneer
{

namespace
{

// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN: the control
// paints its own area, so the child clips everything else.
constexpr DWORD kHostStyle = 0x56000000;

} // namespace

HWND CActiveXWnd::Init(CActiveXCtrl* pOwner, HWND hWndParent)
{
    m_pOwner = pOwner;
    // Placed on the item rectangle by the owner's next SetPos.
    return Create(hWndParent, L"UIActiveX", kHostStyle, 0, 0, 0, 0, 0, nullptr);
}

LPCWSTR CActiveXWnd::GetWindowClass() const
{
    return L"ActiveXWnd";
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_SETFOCUS:
        return OnSetFocus(uMsg, wParam, lParam);
    case WM_KILLFOCUS:
        if (m_pOwner != nullptr)
            m_pOwner->m_bFocused = false;
        break;
    case WM_PAINT:
        OnPaint();
        return 1;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(uMsg, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(uMsg, wParam, lParam);
    case WM_MOUSEWHEEL:
        // The skinned window does not scroll under the control.
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// Taking the focus makes the control UI-active, so that it shows its
// caret and takes keys.
LRESULT CActiveXWnd::OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner != nullptr)
    {
        m_pOwner->m_bFocused = true;
        if (!m_pOwner->m_bUIActivated)
            m_pOwner->DoOwnerVerb(OLEIVERB_UIACTIVATE, m_hWnd);
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner != nullptr && (m_pOwner->GetOwnerMiscStatus() & OLEMISC_NOUIACTIVATE) == 0 &&
        !m_pOwner->m_bInPlaceActive)
        m_pOwner->DoOwnerVerb(OLEIVERB_INPLACEACTIVATE, m_hWnd);
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// Background erasing is left to the control once it can draw itself.
LRESULT CActiveXWnd::OnEraseBkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner == nullptr || m_pOwner->m_pViewObject == nullptr)
        CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    return 1;
}

// The control's own child window draws; this one only validates.
void CActiveXWnd::OnPaint()
{
    PAINTSTRUCT ps{};
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}

} // namespace Veneer
