#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/core/StdPtrArray.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

class CScrollBarUI;

// The item operations of every control that holds an ordered list of
// children.
class IContainerUI
{
  public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

  protected:
    ~IContainerUI() = default;
};

// A control that owns an ordered list of children (painted first to last)
// and optionally a vertical and a horizontal scroll bar that shift them. It
// hands its manager, visibility and mouse settings down to the children,
// paints them clipped to itself and searches them for FindControl. On its
// own it stretches every non-floating child over its inner area and places
// floating children by their own coordinates; the layouts derive from it
// and replace SetPos with real flows.
class VENEER_API CContainerUI : public CControlUI, public IContainerUI
{
  public:
    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FindCallback Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);
    // The nearest visible, enabled list item from the index on (forward) or
    // back from it; -1 when there is none.
    virtual int FindSelectable(int iIndex, bool bForward = true) const;

    // Scrolling: cx is the horizontal position or range, cy the vertical.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

    // Places the floating child at the index by its fixed position and
    // size, anchored to the edges its offsets name.
    virtual void SetFloatPos(int iIndex);
    // Places the scroll bars beside `rc`, the inner area that the layout
    // used, and shows or hides the vertical bar for content of the required
    // size; showing or hiding it lays the container out again.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    // The named descendant, and conveniences acting on it that report
    // false, -1 or "" when it is missing.
    CControlUI* FindSubControl(LPCWSTR pstrSubControlName);
    bool SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    bool SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy);
    bool SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx);
    bool SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    CUiString GetSubControlText(LPCWSTR pstrSubControlName);
    int GetSubControlFixedHeight(LPCWSTR pstrSubControlName);
    int GetSubControlFixedWdith(LPCWSTR pstrSubControlName);
    CUiString GetSubControlUserData(LPCWSTR pstrSubControlName);

  protected:
    // How much of the container a layout gives its children.
    enum LayoutArea
    {
        AreaInner,  // inside the inset, the scroll bars' place included
        AreaClient, // inside the inset, beside the visible scroll bars
    };

    // The steps that begin every layout pass: the control's own SetPos,
    // then the area that the children share. False when there is nothing
    // to lay out: a size observer deleted the container (`self`, watching
    // it, holds null then), or it has no children, in which case a layout
    // beside the scroll bars has handed them the empty area.
    bool BeginLayout(RECT rc, const CControlWatch& self, LayoutArea eArea, RECT& rcArea);

    // The walk of every layout pass over the visible children, in order: a
    // floating child is placed by its own position (SetFloatPos), any other
    // is handed to `place` (index, child). Moving a child may delete the
    // container (a size observer does it): `place` touches nothing of the
    // container after moving its child, and the walk then stops and answers
    // false.
    template <class TPlace> bool PlaceEachChild(const CControlWatch& self, TPlace place)
    {
        for (int i = 0; i < GetCount(); i++)
        {
            CControlUI* pChild = GetItemAt(i);
            if (!pChild->IsVisible())
                continue;
            if (pChild->IsFloat())
                SetFloatPos(i);
            else
                place(i, pChild);
            if (self.Get() == nullptr)
                return false;
        }
        return true;
    }

    static bool IsBarShown(const CScrollBarUI* pScrollBar);
    // A figure read from each shown bar: the vertical bar's as the height,
    // the horizontal bar's as the width, 0 for a bar not shown.
    SIZE ReadShownBars(int (CScrollBarUI::*pfnRead)() const) const;
    // The item rect shrunk by the inset, less the visible scroll bars.
    RECT GetClientArea() const;
    void DestroyItem(CControlUI* pControl);
    void RelayoutForScrollBar();
    void PaintChildren(HDC hDC, const RECT& rcPaint);
    CControlUI* FindInChildren(FindCallback Proc, LPVOID pData, UINT uFlags);
    CControlUI* FindInScrollBars(FindCallback Proc, LPVOID pData, UINT uFlags);
    // Keys and the wheel along the usable bar, the vertical one first;
    // false when the event does not scroll.
    bool ScrollByEvent(const TEventUI& event);
    bool ScrollAlong(const TEventUI& event, bool bVertical);
    int GetLineHeight();
    int GetPageHeight() const;
    int GetPageWidth() const;
    void ScrollBy(int cx, int cy);

    CStdPtrArray m_items;
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;
};

} // namespace Veneer
