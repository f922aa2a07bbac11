#include "veneer/window/WindowImplBase.h"

#include "veneer/control/ControlUI.h"

#include <windowsx.h>

#include <cstring>

namespace Veneer
{

namespace
{

const LONG_PTR kCaptionBits = WS_CAPTION;
// "Loading the resource file failed", in the product's language.
const wchar_t kLoadFailedText[] = L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25";
const wchar_t kLoadFailedCaption[] = L"Veneer";

// Controls that take clicks themselves inside the caption area.
const wchar_t* const kClickableClasses[] = {L"ButtonUI", L"OptionUI", L"TextUI"};

// The work area of the monitor nearest to the window, with the monitor's
// top-left corner as the origin.
RECT WorkAreaFromMonitorOrigin(HWND hWnd)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    RECT rcWork = info.rcWork;
    ::OffsetRect(&rcWork, -info.rcMonitor.left, -info.rcMonitor.top);
    return rcWork;
}

bool IsClickableClass(LPCWSTR pstrClass)
{
    for (const wchar_t* pstrClickable : kClickableClasses)
    {
        if (_wcsicmp(pstrClass, pstrClickable) == 0)
            return true;
    }
    return false;
}

// The size-box code for a point, or HTNOWHERE when it is inside the box.
LRESULT SizeBoxHitTest(const POINT& pt, const RECT& rcClient, const RECT& rcSizeBox)
{
    const bool bLeft = pt.x < rcClient.left + rcSizeBox.left;
    const bool bRight = pt.x > rcClient.right - rcSizeBox.right;
    if (pt.y < rcClient.top + rcSizeBox.top)
        return bLeft ? HTTOPLEFT : (bRight ? HTTOPRIGHT : HTTOP);
    if (pt.y > rcClient.bottom - rcSizeBox.bottom)
        return bLeft ? HTBOTTOMLEFT : (bRight ? HTBOTTOMRIGHT : HTBOTTOM);
    if (bLeft)
        return HTLEFT;
    if (bRight)
        return HTRIGHT;
    return HTNOWHERE;
}

} // namespace

LPBYTE WindowImplBase::m_lpResourceZIPBuffer = nullptr;

UI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
UI_ON_MSGTYPE(L"click", OnClick)
UI_END_MESSAGE_MAP()

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() = default;

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

void WindowImplBase::InitWindow() {}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    const CUiString sName = msg.pSender != nullptr ? msg.pSender->GetName() : CUiString();
    if (sName == L"closebtn")
        Close(IDOK);
    else if (sName == L"minbtn")
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (sName == L"maxbtn")
        SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (sName == L"restorebtn")
        SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE)
    {
        Close(IDOK);
        return TRUE;
    }
    return FALSE;
}

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const
{
    return UILIB_FILE;
}

CUiString WindowImplBase::GetZIPFileName() const
{
    return CUiString();
}

LPCWSTR WindowImplBase::GetResourceID() const
{
    return L"";
}

// One body for every handler that leaves the message to the next stage.
#define UI_NOT_HANDLED(handler)                                                                              \
    LRESULT WindowImplBase::handler(UINT, WPARAM, LPARAM, bool& bHandled)                                    \
    {                                                                                                        \
        bHandled = false;                                                                                    \
        return 0;                                                                                            \
    }

UI_NOT_HANDLED(OnClose)
UI_NOT_HANDLED(OnDestroy)
UI_NOT_HANDLED(OnMouseWheel)
UI_NOT_HANDLED(OnMouseHover)
UI_NOT_HANDLED(OnChar)
UI_NOT_HANDLED(OnKeyDown)
UI_NOT_HANDLED(OnKillFocus)
UI_NOT_HANDLED(OnSetFocus)
UI_NOT_HANDLED(OnLButtonDown)
UI_NOT_HANDLED(OnLButtonUp)
UI_NOT_HANDLED(OnMouseMove)
UI_NOT_HANDLED(HandleCustomMessage)

#undef UI_NOT_HANDLED

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (::IsIconic(m_hWnd))
        bHandled = false;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, bool&)
{
    if (!::IsZoomed(m_hWnd))
        return 0;
    // A maximized window fills the work area, not the whole monitor.
    const RECT rcWork = WorkAreaFromMonitorOrigin(m_hWnd);
    LPRECT pRect = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc;
    pRect->right = pRect->left + (rcWork.right - rcWork.left);
    pRect->bottom = pRect->top + (rcWork.bottom - rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);

    if (!::IsZoomed(m_hWnd))
    {
        const LRESULT lSizing = SizeBoxHitTest(pt, rcClient, m_PaintManager.GetSizeBox());
        if (lSizing != HTNOWHERE)
            return lSizing;
    }

    // The caption's left and right are margins from the client's edges, its
    // top and bottom offsets from the client's top.
    const RECT& rcCaption = m_PaintManager.GetCaptionRect();
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right &&
        pt.y >= rcCaption.top && pt.y < rcCaption.bottom)
    {
        CControlUI* pControl = m_PaintManager.FindControl(pt);
        if (pControl != nullptr && !IsClickableClass(pControl->GetClass()))
            return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    const RECT rcWork = WorkAreaFromMonitorOrigin(m_hWnd);
    LPMINMAXINFO pInfo = reinterpret_cast<LPMINMAXINFO>(lParam);
    pInfo->ptMaxPosition.x = rcWork.left;
    pInfo->ptMaxPosition.y = rcWork.top;
    pInfo->ptMaxTrackSize.x = rcWork.right - rcWork.left;
    pInfo->ptMaxTrackSize.y = rcWork.bottom - rcWork.top;
    pInfo->ptMinTrackSize.x = m_PaintManager.GetMinInfo().cx;
    pInfo->ptMinTrackSize.y = m_PaintManager.GetMinInfo().cy;
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& bHandled)
{
    const SIZE szRoundCorner = m_PaintManager.GetRoundCorner();
    if (!::IsIconic(m_hWnd) && (szRoundCorner.cx != 0 || szRoundCorner.cy != 0))
    {
        RECT rcWnd{};
        ::GetWindowRect(m_hWnd, &rcWnd);
        ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
        rcWnd.right++;
        rcWnd.bottom++;
        const HRGN hRgn = ::CreateRoundRectRgn(rcWnd.left, rcWnd.top, rcWnd.right, rcWnd.bottom,
                                               szRoundCorner.cx, szRoundCorner.cy);
        // The window owns the region once it is set; only a refused region
        // is ours to delete.
        if (hRgn != nullptr && ::SetWindowRgn(m_hWnd, hRgn, TRUE) == 0)
            ::DeleteObject(hRgn);
    }
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool&)
{
    if (wParam == SC_CLOSE)
    {
        SendMessageW(WM_CLOSE, 0, 0);
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LONG WindowImplBase::GetStyle()
{
    return static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~kCaptionBits);
}

void WindowImplBase::PrepareFrame()
{
    const LONG_PTR dwStyle = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (dwStyle & ~kCaptionBits) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    // The frame change takes effect only with SWP_FRAMECHANGED.
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);
    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);
}

bool WindowImplBase::PrepareResources()
{
    if (CPaintManagerUI::GetResourcePath().IsEmpty())
    {
        const CUiString sPath = CPaintManagerUI::GetInstancePath() + GetSkinDir();
        CPaintManagerUI::SetResourcePath(sPath.GetData());
    }
    if (GetResourceType() == UILIB_ZIP)
    {
        CPaintManagerUI::SetResourceZip(GetZIPFileName().GetData(), true);
        return true;
    }
    if (GetResourceType() != UILIB_ZIPRESOURCE)
        return true;
    if (m_lpResourceZIPBuffer != nullptr)
        return true;
    const HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    const HRSRC hResource = ::FindResourceW(hModule, GetResourceID(), L"ZIPRES");
    const HGLOBAL hGlobal = hResource != nullptr ? ::LoadResource(hModule, hResource) : nullptr;
    const DWORD dwSize = hResource != nullptr ? ::SizeofResource(hModule, hResource) : 0;
    const void* pBytes = hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
    if (pBytes == nullptr || dwSize == 0)
        return false;
    m_lpResourceZIPBuffer = new BYTE[dwSize];
    memcpy(m_lpResourceZIPBuffer, pBytes, dwSize);
    ::FreeResource(hGlobal);
    CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, dwSize);
    return true;
}

void WindowImplBase::AttachSkin(CControlUI* pRoot)
{
    m_PaintManager.AttachDialog(pRoot);
    m_PaintManager.AddNotifier(this);
    InitWindow();
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    PrepareFrame();
    if (!PrepareResources())
        return 0;
    CDialogBuilder builder;
    CControlUI* pRoot = nullptr;
    if (GetResourceType() == UILIB_RESOURCE)
    {
        const UINT nId = static_cast<UINT>(wcstoul(GetSkinXml().GetData(), nullptr, 10));
        pRoot = builder.Create(STRINGorID(nId), L"xml", this, &m_PaintManager);
    }
    else
        pRoot = builder.Create(STRINGorID(GetSkinXml().GetData()), nullptr, this, &m_PaintManager);
    if (pRoot == nullptr)
    {
        ::MessageBoxW(nullptr, kLoadFailedText, kLoadFailedCaption, MB_ICONERROR);
        ::ExitProcess(1);
    }
    AttachSkin(pRoot);
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    typedef LRESULT (WindowImplBase::*Handler)(UINT, WPARAM, LPARAM, bool&);
    static const struct
    {
        UINT uMsg;
        Handler pfn;
    } kHandlers[] = {
        {WM_CREATE, &WindowImplBase::OnCreate},
        {WM_DESTROY, &WindowImplBase::OnDestroy},
        {WM_SIZE, &WindowImplBase::OnSize},
        {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
        {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},
        {WM_CLOSE, &WindowImplBase::OnClose},
        {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
        {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize},
        {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},
        {WM_NCPAINT, &WindowImplBase::OnNcPaint},
        {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
        {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
        {WM_CHAR, &WindowImplBase::OnChar},
        {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand},
        {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},
        {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
        {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},
        {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel},
        {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
    };

    // Step 1: this window's own handler, when there is one.
    LRESULT lRes = 0;
    bool bHandled = false;
    for (const auto& handler : kHandlers)
    {
        if (handler.uMsg == uMsg)
        {
            bHandled = true;
            lRes = (this->*handler.pfn)(uMsg, wParam, lParam, bHandled);
            break;
        }
    }
    if (bHandled)
        return lRes;
    // Step 2: the derived window's hook.
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled)
        return lRes;
    // Step 3: the manager; step 4: the previous window procedure.
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes))
        return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return ResponseDefaultKeyEvent(wParam);
    return FALSE;
}

CControlUI* WindowImplBase::CreateControl(LPCWSTR /*pstrClass*/)
{
    return nullptr;
}

void WindowImplBase::GetCaptionRect(RECT& rcCaption)
{
    rcCaption = m_PaintManager.GetCaptionRect();
}

} // namespace Veneer
