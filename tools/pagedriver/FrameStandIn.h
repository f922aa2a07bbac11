#pragma once

#include <windows.h>

// A hidden window in the place of the ad frame: it counts the WM_CLOSE
// messages the page's actions post to it and otherwise stays open.
class CFrameStandIn
{
  public:
    CFrameStandIn();
    CFrameStandIn(const CFrameStandIn&) = delete;
    CFrameStandIn& operator=(const CFrameStandIn&) = delete;
    ~CFrameStandIn();

    HWND Handle() const { return window; }

    // Delivers what is queued for the window, then tells how many WM_CLOSE
    // messages it has received. A posted message is queued at once, so no
    // waiting is needed after the call that posted it.
    unsigned CloseCount();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    unsigned closes = 0;
};
