#include "ActiveXTestSupport.h"

#include "tests/support/TestSupport.h"

namespace Veneer
{

CTestControlModule::CTestControlModule(const char* pszName)
    : m_path(TestSupport::BinFolder() + "\\" + pszName)
{
    m_hModule = ::LoadLibraryA(m_path.c_str());
    if (m_hModule != nullptr)
        m_pfnState = reinterpret_cast<TestControls::TestControlStateFn>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "TestControlState")));
}

CTestControlModule::~CTestControlModule()
{
    if (m_hModule != nullptr)
        ::FreeLibrary(m_hModule);
}

bool CTestControlModule::Loaded() const
{
    return m_pfnState != nullptr;
}

TestControls::TTestControlState& CTestControlModule::State() const
{
    return *m_pfnState();
}

void CTestControlModule::ClearRecord() const
{
    const LONG nLive = State().nLiveObjects;
    State() = TestControls::TTestControlState{};
    State().nLiveObjects = nLive;
}

std::wstring CTestControlModule::Path() const
{
    return std::wstring(m_path.begin(), m_path.end());
}

void ActiveXFixture::SetUp()
{
    ASSERT_TRUE(m_windowless.Loaded());
    ASSERT_TRUE(m_windowed.Loaded());
    m_windowless.ClearRecord();
    m_windowed.ClearRecord();
    ASSERT_EQ(m_windowless.State().nLiveObjects, 0);
    ASSERT_EQ(m_windowed.State().nLiveObjects, 0);
    m_bOle = SUCCEEDED(::OleInitialize(nullptr));
    ASSERT_TRUE(m_bOle);
    ASSERT_TRUE(m_window.Create(&m_pm, 240, 160, 40, 40));
    m_pRoot = new CContainerUI();
    m_pRoot->SetDelayedDestroy(false);
    ASSERT_TRUE(m_pm.AttachDialog(m_pRoot));
}

void ActiveXFixture::TearDown()
{
    ::ReleaseCapture();
    // The hosts go before the window their controls live in.
    if (m_pRoot != nullptr)
        m_pRoot->RemoveAll();
    m_window.Destroy();
    // Every control the tests made is gone with the window's tree.
    EXPECT_EQ(m_windowless.State().nLiveObjects, 0);
    EXPECT_EQ(m_windowed.State().nLiveObjects, 0);
    if (m_bOle)
        ::OleUninitialize();
}

CActiveXUI* ActiveXFixture::AddHost(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes, int x,
                                    int y, int cx, int cy)
{
    CActiveXUI* pHost = new CActiveXUI();
    pHost->SetFloat(true);
    pHost->SetFixedXY(SIZE{x, y});
    pHost->SetFixedWidth(cx);
    pHost->SetFixedHeight(cy);
    m_pRoot->Add(pHost);
    for (const auto& attribute : attributes)
        pHost->SetAttribute(attribute.first, attribute.second);
    return pHost;
}

LRESULT ActiveXFixture::Send(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(Hwnd(), uMsg, wParam, lParam);
}

HWND ActiveXFixture::Hwnd() const
{
    return m_window.GetHWND();
}

} // namespace Veneer
