#pragma once

#include "veneer/control/ContainerUI.h"

#include "ProbeControl.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Veneer
{

// A 200 x 100 window whose manager owns a container holding floating probe
// controls; events and notifications are recorded as "type:control".
class WindowFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new root container, not attached yet, and the notification log.
    void MakeRoot();
    // A floating probe at (x, y) of the given size, added to the root.
    CProbeControl* AddProbe(LPCWSTR pstrName, int x, int y, int cx, int cy, UINT uFlags = 0);
    // Attaches the root and pumps until the first paint is done.
    void AttachAndPaint();
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    HWND Hwnd() const;

    // The recorded events as "name:control", and then forgotten.
    std::vector<std::wstring> TakeEvents();
    std::vector<std::wstring> TakeNotifications();

    static LPARAM Pos(int x, int y);
    static std::wstring EventName(int type);

    std::vector<ProbeEvent> m_log;
    CNotifyLog m_notes;
    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CContainerUI* m_pRoot = nullptr;
};

} // namespace Veneer
