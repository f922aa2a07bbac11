// WM_PAINT: the deferred layout pass, then painting the tree double-buffered
// (or into a per-pixel-alpha layered window).
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/core/GdiHolders.h"

namespace Veneer
{

namespace
{

// BeginPaint and EndPaint for the holder's lifetime.
class PaintScope
{
  public:
    explicit PaintScope(HWND hWnd) : m_hWnd(hWnd), m_ps{} { ::BeginPaint(m_hWnd, &m_ps); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(m_hWnd, &m_ps); }

    HDC GetDC() const { return m_ps.hdc; }
    const RECT& GetPaintRect() const { return m_ps.rcPaint; }

  private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

// SaveDC and RestoreDC for the holder's lifetime.
class SavedDC
{
  public:
    explicit SavedDC(HDC hDC) : m_hDC(hDC), m_nSaved(::SaveDC(hDC)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() { ::RestoreDC(m_hDC, m_nSaved); }

  private:
    HDC m_hDC;
    int m_nSaved;
};

} // namespace

void CPaintManagerUI::HandlePaint()
{
    RECT rcUpdate{};
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE))
        return;
    if (m_pRoot == nullptr)
    {
        PaintScope paint(m_hWndPaint);
        return;
    }
    if (m_bLayered)
        PaintLayered();
    else
        PaintNormal(rcUpdate);
}

void CPaintManagerUI::RunLayoutPass()
{
    if (m_bUpdateNeeded)
    {
        m_bUpdateNeeded = false;
        RECT rcClient{};
        ::GetClientRect(m_hWndPaint, &rcClient);
        // A window without area has nothing to lay out yet; WM_SIZE will
        // ask again once it has.
        if (!::IsRectEmpty(&rcClient) && m_pRoot != nullptr)
        {
            LayoutTree(rcClient);
            if (m_bFirstLayout)
            {
                m_bFirstLayout = false;
                SendNotify(m_pRoot, L"windowinit", 0, 0, false);
            }
        }
    }
    if (m_bFocusNeeded)
        SetNextTabControl();
}

// Every control that moves invalidates its old and its new place. While the
// tree is laid out, those rectangles are collected and the window is told
// once: each InvalidateRect is a round trip to the window server, and a
// full layout moves every control.
void CPaintManagerUI::LayoutTree(const RECT& rcClient)
{
    const bool bCollecting = m_hRgnLayoutInvalid == nullptr;
    if (bCollecting)
        m_hRgnLayoutInvalid = ::CreateRectRgn(0, 0, 0, 0);
    if (m_pRoot->IsUpdateNeeded())
    {
        m_pRoot->SetPos(rcClient);
        // The buffers are made again at the new size.
        DeleteBackground();
        if (!m_bLayered)
            DeleteOffscreen();
    }
    else
    {
        LayoutUpdatedControls();
    }
    if (bCollecting && m_hRgnLayoutInvalid != nullptr)
    {
        ::InvalidateRgn(m_hWndPaint, m_hRgnLayoutInvalid, FALSE);
        ::DeleteObject(m_hRgnLayoutInvalid);
        m_hRgnLayoutInvalid = nullptr;
    }
}

// Only the controls that asked for an update are placed again, in their
// current rectangles. A control whose SetPos keeps asking for another update
// would never let the search come up empty, so the rounds are bounded by
// twice the size of the tree; what remains waits for the next paint.
void CPaintManagerUI::LayoutUpdatedControls()
{
    int nControls = 0;
    m_pRoot->FindControl(__FindControlFromCount, &nControls, FindAll);
    for (int nRound = 0; nRound <= 2 * nControls && m_pRoot != nullptr; nRound++)
    {
        CControlUI* pControl =
            m_pRoot->FindControl(__FindControlFromUpdate, nullptr, FindVisible | FindMeFirst);
        if (pControl == nullptr)
            return;
        pControl->SetPos(pControl->GetPos());
    }
}

void CPaintManagerUI::CreateOffscreen()
{
    const SIZE szClient = GetClientSize();
    if (m_hDcOffscreen == nullptr)
        m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
    m_hbmpOffscreen = ::CreateCompatibleBitmap(m_hDcPaint, szClient.cx, szClient.cy);
}

void CPaintManagerUI::PaintNormal(const RECT& rcUpdate)
{
    RunLayoutPass();
    if (m_bOffscreenPaint && m_hbmpOffscreen == nullptr)
        CreateOffscreen();
    {
        PaintScope paint(m_hWndPaint);
        if (m_pRoot != nullptr)
        {
            // Without a buffer (it could not be made) the tree paints directly.
            if (m_bOffscreenPaint && m_hDcOffscreen != nullptr && m_hbmpOffscreen != nullptr)
            {
                PaintOffscreen(paint.GetDC(), paint.GetPaintRect());
                if (m_bShowUpdateRect)
                    OutlineUpdateRect(paint.GetDC(), rcUpdate);
            }
            else
            {
                SavedDC saved(paint.GetDC());
                m_pRoot->DoPaint(paint.GetDC(), paint.GetPaintRect());
            }
        }
    }
    // Painting asked for another layout: paint again once it has run.
    if (m_bUpdateNeeded)
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::PaintOffscreen(HDC hDC, const RECT& rcPaint)
{
    CScopedSelect bitmap(m_hDcOffscreen, m_hbmpOffscreen);
    {
        // The buffer outside the paint rectangle keeps what it showed last.
        SavedDC saved(m_hDcOffscreen);
        ::IntersectClipRect(m_hDcOffscreen, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
        m_pRoot->DoPaint(m_hDcOffscreen, rcPaint);
        for (int i = 0; i < m_aPostPaintControls.GetSize(); i++)
            static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen, rcPaint);
    }
    ::BitBlt(hDC, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
             m_hDcOffscreen, rcPaint.left, rcPaint.top, SRCCOPY);
}

void CPaintManagerUI::OutlineUpdateRect(HDC hDC, const RECT& rcUpdate) const
{
    CScopedSelect pen(hDC, m_hUpdateRectPen);
    CScopedSelect brush(hDC, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(hDC, rcUpdate.left, rcUpdate.top, rcUpdate.right, rcUpdate.bottom);
}

// A per-pixel-alpha window shows whatever UpdateLayeredWindow last gave it,
// so the whole client area is painted afresh every time.
void CPaintManagerUI::PaintLayered()
{
    const LONG_PTR dwExStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((dwExStyle & WS_EX_LAYERED) == 0)
        ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwExStyle | WS_EX_LAYERED);
    RECT rcClient{};
    ::GetClientRect(m_hWndPaint, &rcClient);
    PaintScope paint(m_hWndPaint);
    DeleteBackground();
    RunLayoutPass();
    if (m_bOffscreenPaint && m_hbmpBackground == nullptr)
    {
        m_hDcBackground = ::CreateCompatibleDC(m_hDcPaint);
        m_hbmpBackground = ::CreateCompatibleBitmap(m_hDcPaint, rcClient.right - rcClient.left,
                                                    rcClient.bottom - rcClient.top);
    }
    if (m_hDcBackground == nullptr || m_hbmpBackground == nullptr || m_pRoot == nullptr)
        return;
    ::SelectObject(m_hDcBackground, m_hbmpBackground);
    {
        // Drawing may leave fonts selected; none may stay in a DC that
        // outlives this paint.
        SavedDC saved(m_hDcBackground);
        m_pRoot->DoPaint(m_hDcBackground, rcClient);
    }

    RECT rcWindow{};
    ::GetWindowRect(m_hWndPaint, &rcWindow);
    POINT ptDest{};
    ptDest.x = rcWindow.left;
    ptDest.y = rcWindow.top;
    SIZE szClient{};
    szClient.cx = rcClient.right - rcClient.left;
    szClient.cy = rcClient.bottom - rcClient.top;
    POINT ptSource{};
    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = AC_SRC_ALPHA;
    ::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptDest, &szClient, m_hDcBackground, &ptSource, 0, &blend,
                          ULW_ALPHA);
}

} // namespace Veneer
