#pragma once

#include "veneer/window/WindowWnd.h"

#include <windows.h>

namespace Veneer
{

class CActiveXCtrl;

// The child window of the skinned window in which a windowed control is
// activated. It sits on the control's item rectangle, UI-activates the
// control when it takes the focus and leaves all painting to the control.
class CActiveXWnd final : public CWindowWnd
{
  public:
    CActiveXWnd() = default;
    ~CActiveXWnd() = default;
    CActiveXWnd(const CActiveXWnd&) = delete;
    CActiveXWnd& operator=(const CActiveXWnd&) = delete;

    HWND Init(CActiveXCtrl* pOwner, HWND hWndParent);

    LPCWSTR GetWindowClass() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    CActiveXCtrl* m_pOwner = nullptr;
};

} // namespace Veneer
