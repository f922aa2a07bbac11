#pragma once

#include "tools/pagehost/PageCanvas.h"

#include <windows.h>

namespace PageHost
{

// What the page window tells the browser object that owns it.
class IPageViewOwner
{
  public:
    virtual void OnActionClicked(int index) = 0;
    // A right click or the menu key, at a screen point.
    virtual void OnContextMenu(POINT ptScreen) = 0;

  protected:
    ~IPageViewOwner() = default;
};

// The child window a page is shown in, inside the container's window: it
// paints the canvas, shows the hand over actions and reports a click (press
// and release on the same action) and the context-menu request.
class CPageView
{
  public:
    explicit CPageView(IPageViewOwner* pOwner) : m_pOwner(pOwner) {}
    CPageView(const CPageView&) = delete;
    CPageView& operator=(const CPageView&) = delete;
    ~CPageView() { Destroy(); }

    bool Create(HWND hParent, const RECT& rect);
    void Destroy();
    HWND GetHWND() const { return m_hWnd; }
    void Move(const RECT& rect);
    void Refresh();
    CPageCanvas& Canvas() { return m_canvas; }

    // The view of a window of this process, or null for any other window.
    static CPageView* FromWindow(HWND hWnd);
    static void UnregisterClass();

  private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    int ActionAtMessage(LPARAM lParam) const;

    IPageViewOwner* m_pOwner;
    HWND m_hWnd = nullptr;
    CPageCanvas m_canvas;
    int m_pressed = -1;
};

} // namespace PageHost
