#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/core/StdPtrArray.h"

namespace Veneer
{

// A minimal container for tests and benchmarks, until the toolkit has its
// own: it owns its children, gives each the rectangle its fixed position and
// size describe (relative to the container's top-left corner; a child
// without a fixed size fills the container), paints them clipped to itself
// and searches them in the order the find flags ask for.
class CTestContainerUI : public CControlUI
{
  public:
    CTestContainerUI() = default;
    ~CTestContainerUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    bool Add(CControlUI* pControl);
    bool Remove(CControlUI* pControl);
    int GetCount() const;
    CControlUI* GetItemAt(int iIndex) const;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    CControlUI* FindControl(FindCallback Proc, LPVOID pData, UINT uFlags) override;

  private:
    RECT ChildRect(CControlUI* pControl) const;
    CControlUI* FindInChildren(FindCallback Proc, LPVOID pData, UINT uFlags);

    CStdPtrArray m_items;
};

} // namespace Veneer
