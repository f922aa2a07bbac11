#pragma once

#include <windows.h>

namespace PageHost
{

// What a message window hands its messages to.
class IMessageTarget
{
  public:
    virtual LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~IMessageTarget() = default;
};

// A message-only window of the thread that creates it: work posted to it
// runs later from that thread's message loop, and work sent to it from
// another thread runs on this one.
class CMessageWindow
{
  public:
    CMessageWindow() = default;
    CMessageWindow(const CMessageWindow&) = delete;
    CMessageWindow& operator=(const CMessageWindow&) = delete;
    ~CMessageWindow() { Destroy(); }

    bool Create(IMessageTarget* pTarget);
    void Destroy();
    HWND GetHWND() const { return m_hWnd; }
    bool Post(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // The class is registered once per load of the page host.
    static void UnregisterClass();

  private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
};

} // namespace PageHost
