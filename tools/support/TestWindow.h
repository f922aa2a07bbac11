#pragma once

#include "veneer/Veneer.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace Veneer
{

// A top-level window whose procedure hands every message to a manager, as
// the skinned window base will: Init on WM_CREATE, then MessageHandler, and
// the default procedure when the manager declines.
class CTestWindow
{
  public:
    CTestWindow() = default;
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    ~CTestWindow();

    // Shows a window of the given client size at (x, y) on the screen. It
    // is shown without being activated: Wine then leaves it unmanaged, and
    // destroying it does not wait two seconds for a window manager that the
    // test display does not run.
    bool Create(CPaintManagerUI* pManager, int cx, int cy, int x = 0, int y = 0, DWORD dwStyle = WS_POPUP,
                DWORD dwExStyle = WS_EX_TOOLWINDOW);
    void Destroy();
    HWND GetHWND() const;

  private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    CPaintManagerUI* m_pManager = nullptr;
};

// Dispatches queued messages until the condition holds or the time is up;
// answers the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 10000);
// Dispatches what is queued now, and what that queues in turn.
void PumpPending();

// Moves the display's real pointer to (x, y) on the screen with xdotool and
// waits until the system reports it there; false when that fails. Wine
// runs a Unix program named by its Z: path as a Unix process, which
// inherits DISPLAY, but hands back no handle that could be waited on.
bool MovePointer(int x, int y);

// A 32-bit top-down DIB section selected into a memory DC, filled with one
// pixel value to begin with.
class CTestSurface
{
  public:
    CTestSurface(int cx, int cy, DWORD dwFill = 0xFFFFFFFF);
    CTestSurface(const CTestSurface&) = delete;
    CTestSurface& operator=(const CTestSurface&) = delete;

    HDC GetDC() const;
    // 0xAARRGGBB as stored in the DIB.
    DWORD Pixel(int x, int y) const;
    // The colour bytes only, 0x00RRGGBB.
    DWORD Rgb(int x, int y) const;
    void Fill(DWORD dwColor);

  private:
    CDibSurface m_dib;
};

// Copies what the window shows into a surface of its client size.
void CaptureClient(HWND hWnd, CTestSurface& surface);

} // namespace Veneer
