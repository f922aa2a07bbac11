#pragma once

#include "veneer/control/LabelUI.h"

namespace Veneer
{

// The state bits of a button.
const UINT StateFocused = 0x01;  // has the focus (refreshed before painting)
const UINT StateSelected = 0x02; // an option that is selected
const UINT StateDisabled = 0x04; // not enabled (refreshed before painting)
const UINT StateHot = 0x08;      // the mouse is over it
const UINT StatePushed = 0x10;   // pressed, with the mouse inside
const UINT StateCaptured = 0x40; // pressed; the mouse is captured until release

// A label that can be clicked: images and text colours for its states
// (normal, hot, pushed, focused, disabled), "click" when released over it or
// activated from the keyboard (space or enter), "buttondown" when pressed.
class VENEER_API CButtonUI : public CLabelUI
{
  public:
    CButtonUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool Activate() override;
    bool ActivatePushDown();
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);
    LPCWSTR GetHotForeImage() const;
    void SetHotForeImage(LPCWSTR pStrImage);

    void SetHotBkColor(DWORD dwColor);
    DWORD GetHotBkColor() const;
    void SetHotTextColor(DWORD dwColor);
    DWORD GetHotTextColor() const;
    void SetPushedTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const;
    void SetFocusedTextColor(DWORD dwColor);
    DWORD GetFocusedTextColor() const;

    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

  protected:
    // Sets or clears the focused and disabled bits from the control.
    void RefreshState();
    // Draws an image string; one that cannot be drawn is emptied, so that
    // it is not tried again. Answers whether it was drawn.
    bool DrawStateImage(HDC hDC, CUiString& sImage);
    // The text colour for the state, before any option's own.
    DWORD ButtonTextColor() const;
    void PaintButtonImages(HDC hDC);

    UINT m_uButtonState;
    DWORD m_dwHotBkColor;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
    CUiString m_sNormalImage;
    CUiString m_sHotImage;
    CUiString m_sHotForeImage;
    CUiString m_sPushedImage;
    CUiString m_sPushedForeImage;
    CUiString m_sFocusedImage;
    CUiString m_sDisabledImage;
    CUiString m_sForeImage;
};

} // namespace Veneer
