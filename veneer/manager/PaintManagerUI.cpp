// Construction, attachment of a control tree, the window's metrics and
// destruction of a manager.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/core/GdiHolders.h"

#include <cassert>

namespace Veneer
{

namespace
{

const int kOpaque = 255;
const UINT kFirstTimerCounter = 0x1000;
const COLORREF kUpdateRectColor = RGB(220, 0, 0);
// InitCommonControls is entry 17 of the common-controls library.
const WORD kInitCommonControlsOrdinal = 17;

void InitCommonControlsByOrdinal()
{
    HMODULE hComCtl = ::GetModuleHandleW(L"comctl32.dll");
    if (hComCtl == nullptr)
        hComCtl = ::LoadLibraryW(L"comctl32.dll");
    if (hComCtl == nullptr)
        return;
    typedef void(WINAPI * InitCommonControlsFn)();
    FARPROC pProc = ::GetProcAddress(hComCtl, MAKEINTRESOURCEA(kInitCommonControlsOrdinal));
    if (pProc != nullptr)
        reinterpret_cast<InitCommonControlsFn>(reinterpret_cast<void*>(pProc))();
}

void DeleteDcAndClear(HDC& hDC)
{
    if (hDC != nullptr)
        ::DeleteDC(hDC);
    hDC = nullptr;
}

void DeleteBitmapAndClear(HBITMAP& hBitmap)
{
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    hBitmap = nullptr;
}

} // namespace

CStdPtrArray CPaintManagerUI::m_aPreMessages;
HPEN CPaintManagerUI::m_hUpdateRectPen = nullptr;

CPaintManagerUI::CPaintManagerUI()
    : m_hWndPaint(nullptr), m_nOpacity(kOpaque), m_hDcPaint(nullptr), m_hDcOffscreen(nullptr),
      m_hDcBackground(nullptr), m_hbmpOffscreen(nullptr), m_hbmpBackground(nullptr),
      m_hwndTooltip(nullptr), m_ToolTip{}, m_bShowUpdateRect(false), m_pRoot(nullptr), m_pFocus(nullptr),
      m_pEventHover(nullptr), m_pEventClick(nullptr), m_pEventKey(nullptr), m_ptLastMousePos{-1, -1},
      m_szMinWindow{}, m_szMaxWindow{}, m_szInitWindowSize{}, m_rcSizeBox{}, m_szRoundCorner{}, m_rcCaption{},
      m_uTimerID(kFirstTimerCounter), m_bFirstLayout(true), m_bUpdateNeeded(false), m_bFocusNeeded(false),
      m_bOffscreenPaint(true), m_bLayered(false), m_bMouseTracking(false), m_bMouseCapture(false),
      m_bUsedVirtualWnd(false), m_pParentResourcePM(nullptr), m_hRgnLayoutInvalid(nullptr)
{
    // The first manager of the process sets up what all of them share.
    if (m_hUpdateRectPen == nullptr)
    {
        m_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, kUpdateRectColor);
        InitCommonControlsByOrdinal();
        // The render engine finds AlphaBlend and GradientFill in it.
        ::LoadLibraryW(L"msimg32.dll");
    }
}

CPaintManagerUI::~CPaintManagerUI()
{
    DeleteDelayedCleanup();
    DeleteAsyncNotify();
    m_mNameHash.RemoveAll();
    delete m_pRoot;
    m_pRoot = nullptr;
    // Destructors of the tree may have queued notifications of their own.
    DeleteAsyncNotify();
    // The resource tables go with the manager, after the tree that used them.
    RemoveAllOptionGroups();
    RemoveAllTimers();
    if (m_hwndTooltip != nullptr)
        ::DestroyWindow(m_hwndTooltip);
    DeleteOffscreen();
    DeleteBackground();
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    const int index = m_aPreMessages.Find(this);
    if (index >= 0)
        m_aPreMessages.Remove(index);
}

void CPaintManagerUI::Init(HWND hWnd)
{
    assert(::IsWindow(hWnd));
    if (m_hWndPaint == hWnd)
        return;
    // A manager serves one window; a second Init moves it without leaking
    // the first window's device context.
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    if (m_aPreMessages.Find(this) < 0)
        m_aPreMessages.Add(this);
}

void CPaintManagerUI::DeleteOffscreen()
{
    DeleteDcAndClear(m_hDcOffscreen);
    DeleteBitmapAndClear(m_hbmpOffscreen);
}

void CPaintManagerUI::DeleteBackground()
{
    DeleteDcAndClear(m_hDcBackground);
    DeleteBitmapAndClear(m_hbmpBackground);
}

CControlUI* CPaintManagerUI::GetRoot() const
{
    return m_pRoot;
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    // The old tree may be running one of its own handlers right now, so it
    // is deleted later. Attaching the same root again must not delete it.
    if (m_pRoot != nullptr && m_pRoot != pControl)
    {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == nullptr)
        return false;
    pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent(), true);
    pControl->FindControl(__FindControlFromNameHash, this, FindAll);
    return true;
}

// Images and the colour shift change the look of every control.
void CPaintManagerUI::InvalidateRoot()
{
    if (m_pRoot != nullptr)
        m_pRoot->Invalidate();
}

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

void CPaintManagerUI::Invalidate(RECT& rcItem)
{
    // Without a window InvalidateRect would repaint every window on screen;
    // an empty rectangle repaints nothing and is not worth a round trip to
    // the window server.
    if (m_hWndPaint == nullptr || ::IsRectEmpty(&rcItem))
        return;
    if (m_hRgnLayoutInvalid == nullptr)
    {
        ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
        return;
    }
    CScopedGdiObject<HRGN> rgnItem(::CreateRectRgnIndirect(&rcItem));
    ::CombineRgn(m_hRgnLayoutInvalid, m_hRgnLayoutInvalid, rgnItem.Get(), RGN_OR);
}

HWND CPaintManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

HWND CPaintManagerUI::GetTooltipWindow() const
{
    return m_hwndTooltip;
}

POINT CPaintManagerUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rcClient{};
    ::GetClientRect(m_hWndPaint, &rcClient);
    SIZE size{};
    size.cx = rcClient.right - rcClient.left;
    size.cy = rcClient.bottom - rcClient.top;
    return size;
}

SIZE CPaintManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    // Only a window still being built takes the size; later the user owns it.
    if (m_pRoot == nullptr && m_hWndPaint != nullptr)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

RECT& CPaintManagerUI::GetSizeBox()
{
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

RECT& CPaintManagerUI::GetCaptionRect()
{
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CPaintManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

SIZE CPaintManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

int CPaintManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = nOpacity < 0 ? 0 : (nOpacity > kOpaque ? kOpaque : nOpacity);
    if (m_hWndPaint == nullptr)
        return;
    typedef BOOL(WINAPI * SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);
    FARPROC pProc = ::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "SetLayeredWindowAttributes");
    if (pProc == nullptr)
        return;
    // An opacity out of range takes the window out of the layered mode.
    const LONG_PTR dwExStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    const bool bInRange = nOpacity >= 0 && nOpacity <= kOpaque;
    const LONG_PTR dwNewExStyle = bInRange ? (dwExStyle | WS_EX_LAYERED) : (dwExStyle & ~WS_EX_LAYERED);
    if (dwNewExStyle != dwExStyle)
        ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwNewExStyle);
    reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void*>(pProc))(
        m_hWndPaint, 0, static_cast<BYTE>(nOpacity), LWA_ALPHA);
}

bool CPaintManagerUI::IsBackgroundTransparent() const
{
    return m_bLayered;
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bLayered = bTrans;
}

bool CPaintManagerUI::IsShowUpdateRect() const
{
    return m_bShowUpdateRect;
}

void CPaintManagerUI::SetShowUpdateRect(bool show)
{
    m_bShowUpdateRect = show;
}

} // namespace Veneer
