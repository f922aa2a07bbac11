#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/render/GdiplusSession.h"

#include <windows.h>

#include <gdiplus.h>

namespace Veneer
{

// A single line of text, plain or with inline markup, and optionally drawn
// with GDI+ effects instead: a gradient, a shadow and an outline. With the
// effects on, the label shows its effect text, which SetText sets then.
class VENEER_API CLabelUI : public CControlUI
{
  public:
    CLabelUI();
    ~CLabelUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // With the effects on, the effect text; otherwise the control's text.
    void SetText(LPCWSTR pstrText) override;
    CUiString GetText() const override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const;
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    void SetFont(int index);
    int GetFont() const;
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);

    // The effects. Their setters only store: the next paint shows them.
    void SetEnabledEffect(bool bEnable);
    bool GetEnabledEffect() const;
    void SetEnabledStroke(bool bEnable);
    bool GetEnabledStroke() const;
    void SetEnabledShadow(bool bEnable);
    bool GetEnabledShadow() const;
    void SetTransShadow(int nAlpha);
    int GetTransShadow() const;
    void SetTransShadow1(int nAlpha);
    int GetTransShadow1() const;
    void SetTransText(int nAlpha);
    int GetTransText() const;
    void SetTransText1(int nAlpha);
    int GetTransText1() const;
    void SetTransStroke(int nAlpha);
    int GetTransStroke() const;
    void SetGradientAngle(int nAngle);
    int GetGradientAngle() const;
    void SetGradientLength(int nLength);
    int GetGradientLength() const;
    void SetTextColor1(DWORD dwColor);
    DWORD GetTextColor1() const;
    void SetTextShadowColorA(DWORD dwColor);
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorB(DWORD dwColor);
    DWORD GetTextShadowColorB() const;
    void SetStrokeColor(DWORD dwColor);
    DWORD GetStrokeColor() const;
    // A GDI+ TextRenderingHint, 0 to 5; anything else is 0.
    void SetTextRenderingHintAntiAlias(int nHint);
    int GetTextRenderingHintAntiAlias() const;
    // The shadow's offset from a distance and an angle (-180 to 180 degrees;
    // other angles are ignored), counted from where the label is now.
    void SetShadowOffset(int nDistance, int nAngle);
    Gdiplus::RectF GetShadowOffset() const;

    SIZE EstimateSize(SIZE szAvailable) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintText(HDC hDC) override;

  protected:
    // The text colours of 0 become the manager's defaults (kept from then
    // on); the answer is the rectangle inside the text padding.
    RECT PrepareTextRect();
    // The colour for the control's state: enabled or disabled.
    DWORD StateTextColor() const;
    // Draws the text as the label does: inline markup or plain, in `rc`.
    void DrawLabelText(HDC hDC, RECT& rc, DWORD dwColor, UINT uStyle);
    void PaintEffectText(HDC hDC, const RECT& rcText);
    // A control that ignores the mouse hands its mouse events to its parent
    // (without one, to the label's handling); true when it did.
    bool PassOnMouseEvent(TEventUI& event);
    void ApplyAlign(LPCWSTR pstrValue);

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml;

    int m_hAlign; // GDI+ StringAlignment of the effect text
    int m_vAlign;
    int m_TransShadow;
    int m_TransShadow1;
    int m_TransText;
    int m_TransText1;
    int m_TransStroke;
    int m_GradientLength;
    int m_GradientAngle;
    bool m_EnableEffect;
    bool m_EnabledStroke;
    bool m_EnabledShadow;
    DWORD m_dwTextColor1;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    Gdiplus::RectF m_ShadowOffset;
    CUiString m_EffectText;
    CGdiplusSession m_gdiplus;
    int m_TextRenderingHintAntiAlias;
};

} // namespace Veneer
