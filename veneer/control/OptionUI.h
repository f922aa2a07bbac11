#pragma once

#include "veneer/control/ButtonUI.h"

namespace Veneer
{

// A button that stays selected. Alone it toggles on every click; within a
// named group of the manager, a click selects it and the member selected
// before is deselected, so that one member of the group is selected.
// "selectchanged" is sent when an option changes, except when a grouped
// option is deselected by another's selection.
class VENEER_API COptionUI : public CButtonUI
{
  public:
    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    LPCWSTR GetGroup() const;
    // Leaves the old group and joins the new one (null or empty: none).
    void SetGroup(LPCWSTR pStrGroupName = nullptr);
    bool IsSelected() const;
    virtual void Selected(bool bSelected);

    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetSelectedHotImage() const;
    void SetSelectedHotImage(LPCWSTR pStrImage);
    // The option's fore image, drawn over every state.
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);
    void SetSelectedTextColor(DWORD dwTextColor);
    // 0 reads as the manager's default font colour.
    DWORD GetSelectedTextColor();
    void SetSelectedBkColor(DWORD dwBkColor);
    DWORD GetSelectBkColor() const;

    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

  private:
    // The other members of the group lose their selection, silently.
    void DeselectOthersInGroup();
    bool PaintSelectedImages(HDC hDC);

    bool m_bSelected;
    CUiString m_sGroupName;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;
    CUiString m_sSelectedImage;
    CUiString m_sSelectedHotImage;
    CUiString m_sOptionForeImage;
};

} // namespace Veneer
