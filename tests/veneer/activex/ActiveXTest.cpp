#include "ActiveXTestSupport.h"

#include "veneer/builder/DialogBuilder.h"

#include <exdisp.h>
#include <ocidl.h>
#include <windowsx.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;
using namespace TestControls;

namespace Veneer
{

namespace
{

// The item rectangle AddHost gives by default.
constexpr RECT kItem{20, 30, 120, 90};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

class ActiveXHostTest : public ActiveXFixture
{
  protected:
    CActiveXUI* AddWindowless()
    {
        const std::wstring path = m_windowless.Path();
        return AddHost({{L"modulename", path.c_str()}, {L"clsid", kWindowlessClsidText}});
    }
    CActiveXUI* AddWindowed()
    {
        const std::wstring path = m_windowed.Path();
        return AddHost({{L"modulename", path.c_str()}, {L"clsid", kWindowedClsidText}});
    }
    // The layout that positions the hosts, and with it their delayed
    // creation.
    void Layout()
    {
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
    }
    // A windowless control made and positioned, and the site it was given.
    void MakeWindowless(ComPtr<IOleObject>& pObject, ComPtr<IOleClientSite>& pSite)
    {
        CActiveXUI* pHost = AddWindowless();
        Layout();
        ASSERT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), S_OK);
        ASSERT_EQ(pObject->GetClientSite(&pSite), S_OK);
    }
};

// Delayed creation: nothing exists until the first positioning, then the
// control is active windowless on the skinned window, on the item rectangle,
// with its extent in HIMETRIC.
TEST_F(ActiveXHostTest, WindowlessControlIsCreatedAtFirstPositioning)
{
    CActiveXUI* pHost = AddWindowless();
    ComPtr<IOleObject> pObject;
    EXPECT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), E_PENDING);
    EXPECT_EQ(m_windowless.State().nLiveObjects, 0);
    Layout();
    ASSERT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), S_OK);
    const TTestControlState& state = m_windowless.State();
    EXPECT_EQ(state.nLiveObjects, 1);
    EXPECT_EQ(state.bWindowless, 1);
    EXPECT_EQ(state.nInPlaceActivations, 1);
    EXPECT_EQ(pHost->GetHostWindow(), Hwnd());
    EXPECT_TRUE(SameRect(state.rcLastObjectRect, kItem));
    HDC hDC = ::GetDC(nullptr);
    const int nLogX = ::GetDeviceCaps(hDC, LOGPIXELSX);
    const int nLogY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, hDC);
    EXPECT_EQ(state.szLastExtent.cx, ::MulDiv(2540, 100, nLogX));
    EXPECT_EQ(state.szLastExtent.cy, ::MulDiv(2540, 60, nLogY));
    // A windowless control is drawn with the window.
    EXPECT_GT(state.nDraws, 0);
    // A new position reaches the control.
    pHost->SetPos(RECT{40, 50, 140, 110});
    EXPECT_TRUE(SameRect(state.rcLastObjectRect, RECT{40, 50, 140, 110}));
}

TEST_F(ActiveXHostTest, DelayCreateFalseCreatesAtOnce)
{
    const std::wstring path = m_windowless.Path();
    CActiveXUI* pHost = AddHost({{L"modulename", path.c_str()}, {L"delaycreate", L"false"}});
    EXPECT_EQ(m_windowless.State().nLiveObjects, 0);
    EXPECT_TRUE(pHost->CreateControl(kWindowlessClsidText));
    ComPtr<IOleObject> pObject;
    EXPECT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), S_OK);
    EXPECT_EQ(m_windowless.State().nLiveObjects, 1);
}

// Mouse messages reach a windowless control only inside its hit area (the
// test control's left half); keys only while it has the toolkit's focus.
TEST_F(ActiveXHostTest, WindowlessRoutingFollowsHitAreaAndFocus)
{
    AddWindowless();
    CControlUI* pOther = new CControlUI();
    m_pRoot->Add(pOther);
    Layout();
    CActiveXUI* pHost = static_cast<CActiveXUI*>(m_pRoot->GetItemAt(0));
    TTestControlState& state = m_windowless.State();
    struct
    {
        POINT pt;
        bool bReaches;
    } const kPoints[] = {
        {{25, 40}, true},   {{69, 89}, true},  {{71, 40}, false},
        {{110, 40}, false}, {{10, 10}, false}, {{25, 95}, false},
    };
    for (const auto& entry : kPoints)
    {
        state.nMouseMessages = 0;
        Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(entry.pt.x, entry.pt.y));
        Send(WM_LBUTTONUP, 0, MAKELPARAM(entry.pt.x, entry.pt.y));
        EXPECT_EQ(state.nMouseMessages, entry.bReaches ? 2 : 0) << entry.pt.x << "," << entry.pt.y;
        if (entry.bReaches)
        {
            EXPECT_EQ(state.uLastMouseMessage, static_cast<UINT>(WM_LBUTTONUP));
            EXPECT_EQ(state.ptLastMouse.x, entry.pt.x);
            EXPECT_EQ(state.ptLastMouse.y, entry.pt.y);
        }
    }

    m_pm.SetFocus(pOther);
    state.nKeyMessages = 0;
    Send(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(state.nKeyMessages, 0);
    m_pm.SetFocus(pHost);
    EXPECT_EQ(state.nSetFocus, 1);
    Send(WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(state.nKeyMessages, 1);
    EXPECT_EQ(state.wLastKey, static_cast<WPARAM>('B'));
    m_pm.SetFocus(pOther);
    EXPECT_EQ(state.nKillFocus, 1);
    Send(WM_KEYDOWN, 'C', 0);
    EXPECT_EQ(state.nKeyMessages, 1);
}

// A control that cannot go windowless gets a child window on the item
// rectangle, inside which it makes its own window; resizing moves both.
TEST_F(ActiveXHostTest, WindowedControlLivesInAHostChildWindow)
{
    CActiveXUI* pHost = AddWindowed();
    Layout();
    const TTestControlState& state = m_windowed.State();
    ASSERT_EQ(state.nLiveObjects, 1);
    EXPECT_EQ(state.bWindowless, 0);
    HWND hHost = pHost->GetHostWindow();
    ASSERT_NE(hHost, nullptr);
    EXPECT_NE(hHost, Hwnd());
    EXPECT_EQ(::GetParent(hHost), Hwnd());
    ASSERT_TRUE(::IsWindow(state.hwndOwn));
    EXPECT_EQ(::GetParent(state.hwndOwn), hHost);
    RECT rcHost{};
    ::GetWindowRect(hHost, &rcHost);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rcHost), 2);
    EXPECT_TRUE(SameRect(rcHost, kItem));
    // In the host window's coordinates the control fills it.
    EXPECT_TRUE(SameRect(state.rcLastObjectRect, RECT{0, 0, 100, 60}));

    pHost->SetPos(RECT{20, 30, 170, 90});
    ::GetWindowRect(hHost, &rcHost);
    EXPECT_EQ(rcHost.right - rcHost.left, 150);
    RECT rcOwn{};
    ::GetClientRect(state.hwndOwn, &rcOwn);
    EXPECT_EQ(rcOwn.right, 150);

    // The control's own window takes its own input.
    ::SendMessageW(state.hwndOwn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_EQ(state.nMouseMessages, 1);
    // Hiding the host control hides the child window.
    pHost->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hHost));
    pHost->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(hHost));

    m_pRoot->RemoveAll();
    EXPECT_FALSE(::IsWindow(hHost));
    EXPECT_FALSE(::IsWindow(state.hwndOwn));
    EXPECT_EQ(state.nLiveObjects, 0);
}

// The container that a control finds through its site lists that one
// control, however many are asked for.
TEST_F(ActiveXHostTest, ContainerEnumeratesTheOneControl)
{
    ComPtr<IOleObject> pObject;
    ComPtr<IOleClientSite> pSite;
    ASSERT_NO_FATAL_FAILURE(MakeWindowless(pObject, pSite));
    ComPtr<IOleContainer> pContainer;
    ASSERT_EQ(pSite->GetContainer(&pContainer), S_OK);
    ComPtr<IEnumUnknown> pEnum;
    ASSERT_EQ(pContainer->EnumObjects(OLECONTF_EMBEDDINGS, &pEnum), S_OK);
    IUnknown* items[5] = {};
    ULONG nFetched = 99;
    EXPECT_EQ(pEnum->Next(5, items, &nFetched), S_OK);
    EXPECT_EQ(nFetched, 1u);
    ASSERT_NE(items[0], nullptr);
    ComPtr<IUnknown> pSame;
    pObject.As(&pSame);
    ComPtr<IUnknown> pGiven;
    items[0]->QueryInterface(IID_PPV_ARGS(&pGiven));
    EXPECT_EQ(pGiven.Get(), pSame.Get());
    items[0]->Release();
    EXPECT_EQ(pEnum->Next(5, items, &nFetched), S_FALSE);
    EXPECT_EQ(nFetched, 0u);
    EXPECT_EQ(pEnum->Reset(), S_OK);
    EXPECT_EQ(pEnum->Next(1, items, &nFetched), S_OK);
    items[0]->Release();
}

// A site the control still holds after the host let go answers, but no
// longer reaches the host.
TEST_F(ActiveXHostTest, SiteKeptPastTheHostAnswersUnexpected)
{
    ComPtr<IOleObject> pObject;
    ComPtr<IOleClientSite> pSite;
    ASSERT_NO_FATAL_FAILURE(MakeWindowless(pObject, pSite));
    ComPtr<IOleInPlaceSiteWindowless> pWindowless;
    ASSERT_EQ(pSite.As(&pWindowless), S_OK);
    m_pRoot->RemoveAll();
    HWND hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(pWindowless->GetWindow(&hWnd), E_UNEXPECTED);
    EXPECT_EQ(hWnd, nullptr);
    EXPECT_EQ(pWindowless->SetFocus(TRUE), E_UNEXPECTED);
    EXPECT_EQ(pWindowless->InvalidateRect(nullptr, FALSE), E_UNEXPECTED);
    pWindowless.Reset();
    pSite.Reset();
    pObject.Reset();
    EXPECT_EQ(m_windowless.State().nLiveObjects, 0);
}

// What cannot be made leaves the host empty and nothing alive: missing
// modules, modules without a class factory, unknown classes, and a control
// whose activation fails after it was made and given its site.
TEST_F(ActiveXHostTest, ControlsThatCannotBeMadeLeaveNothingBehind)
{
    const std::wstring windowless = m_windowless.Path();
    const std::wstring missing = m_windowless.Path() + L".missing.dll";
    struct
    {
        std::wstring module;
        LPCWSTR clsid;
    } const kCases[] = {
        {missing, kWindowlessClsidText},
        {L"kernel32.dll", kWindowlessClsidText},
        {windowless, L"{00000000-1111-2222-3333-444444444444}"},
        {windowless, L"{6F3A1C20-5B7E-4C11-9A40-102233445502}"},
        {L"", L"{00000000-1111-2222-3333-444444444444}"},
    };
    for (const auto& entry : kCases)
    {
        CActiveXUI* pHost = AddHost({{L"modulename", entry.module.c_str()}, {L"clsid", entry.clsid}});
        Layout();
        ComPtr<IOleObject> pObject;
        EXPECT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), E_PENDING) << entry.clsid;
        EXPECT_EQ(m_windowless.State().nLiveObjects, 0) << entry.clsid;
        m_pRoot->RemoveAll();
    }
    CActiveXUI* pHost = AddHost({});
    EXPECT_FALSE(pHost->CreateControl(L"No.Such.Control"));
    EXPECT_FALSE(pHost->CreateControl(L"{not a class id"));
    EXPECT_FALSE(pHost->CreateControl(static_cast<LPCWSTR>(nullptr)));
    EXPECT_FALSE(pHost->CreateControl(CLSID_NULL));
    EXPECT_EQ(pHost->GetClisd(), CLSID_NULL);
}

} // namespace Veneer

namespace Veneer
{

// The builder makes both classes from their tags, with the manager set
// before the attributes, so that "delaycreate" "false" creates the control
// while the skin is read.
TEST_F(ActiveXHostTest, BuilderMakesActiveXAndWebBrowserFromTheirTags)
{
    const std::wstring skin = L"<Window><ActiveX name=\"ax\" modulename=\"" + m_windowless.Path() +
                              L"\" delaycreate=\"false\" clsid=\"" + kWindowlessClsidText +
                              L"\" width=\"50\" height=\"40\"/></Window>";
    CDialogBuilder builder;
    CControlUI* pControl = builder.Create(STRINGorID(skin.c_str()), nullptr, nullptr, &m_pm, m_pRoot);
    ASSERT_NE(pControl, nullptr);
    CActiveXUI* pHost = static_cast<CActiveXUI*>(pControl->GetInterface(L"ActiveX"));
    ASSERT_EQ(pHost, pControl);
    EXPECT_STREQ(pHost->GetClass(), L"ActiveXUI");
    EXPECT_FALSE(pHost->IsDelayCreate());
    EXPECT_EQ(m_windowless.State().nLiveObjects, 1);

    CDialogBuilder browserBuilder;
    CControlUI* pBrowser = browserBuilder.Create(
        STRINGorID(L"<Window><WebBrowser homepage=\"about:blank\" autonavi=\"true\"/></Window>"), nullptr,
        nullptr, &m_pm, m_pRoot);
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_STREQ(pBrowser->GetClass(), L"WebBrowserUI");
    EXPECT_NE(pBrowser->GetInterface(L"WebBrowser"), nullptr);
    EXPECT_NE(pBrowser->GetInterface(L"ActiveX"), nullptr);
    CActiveXUI* pBrowserHost = static_cast<CActiveXUI*>(pBrowser->GetInterface(L"ActiveX"));
    EXPECT_TRUE(pBrowserHost->IsDelayCreate());
    EXPECT_EQ(pBrowserHost->GetClisd(), CLSID_WebBrowser);
}

} // namespace Veneer
