#pragma once

#include "veneer/control/ContainerUI.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// Shows exactly one of its children, the selection, over its inner area;
// every other child is hidden. The first visible child added is selected;
// `SelectItem` changes the selection and tells the window with the
// notification "tabselect" (wParam the new index, lParam the old one).
class VENEER_API CTabLayoutUI : public CContainerUI
{
  public:
    CTabLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetCurSel() const;
    bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

  private:
    void PlaceSelection(CControlUI* pChild, const RECT& rcInner);

    int m_iCurSel;
};

} // namespace Veneer
