#pragma once

#include "veneer/control/LabelUI.h"

namespace Veneer
{

// Multi-line text whose inline-markup links can be clicked: a click raises
// "link" with the link's index, and the link under the mouse is drawn in
// the link-hover colour.
class VENEER_API CTextUI : public CLabelUI
{
  public:
    CTextUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // The target of link `iIndex` of the last paint; null outside the links.
    CUiString* GetLinkContent(int iIndex);

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

  protected:
    static const int kMaxLinks = 8;

    // The link whose rectangle holds the point, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUiString m_sLinks[kMaxLinks];
    int m_nHoverLink;
};

} // namespace Veneer
