#pragma once

#include "veneer/activex/ActiveXUI.h"
#include "veneer/control/ContainerUI.h"

#include "TestControlApi.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace Veneer
{

// One of the test control DLLs, loaded from the build folder for as long as
// the test runs, so that its record outlives the host's own load.
class CTestControlModule
{
  public:
    explicit CTestControlModule(const char* pszName);
    ~CTestControlModule();
    CTestControlModule(const CTestControlModule&) = delete;
    CTestControlModule& operator=(const CTestControlModule&) = delete;

    bool Loaded() const;
    TestControls::TTestControlState& State() const;
    // The record without its count of live objects, which belongs to the
    // objects still alive.
    void ClearRecord() const;
    std::wstring Path() const;

  private:
    std::string m_path;
    HMODULE m_hModule = nullptr;
    TestControls::TestControlStateFn m_pfnState = nullptr;
};

// A 240 x 160 window with OLE started, whose root container takes floating
// ActiveX hosts.
class ActiveXFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // A host at (x, y) of the given size in the attached root, made from the
    // attributes given as name/value pairs in order.
    CActiveXUI* AddHost(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes, int x = 20, int y = 30,
                        int cx = 100, int cy = 60);
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    HWND Hwnd() const;

    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CContainerUI* m_pRoot = nullptr;
    CTestControlModule m_windowless{"windowless.dll"};
    CTestControlModule m_windowed{"windowed.dll"};

  private:
    bool m_bOle = false;
};

} // namespace Veneer
