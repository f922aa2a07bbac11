#pragma once

#include "veneer/core/Delegate.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/PaintManagerUI.h"
#include "veneer/manager/UiEvents.h"

#include <windows.h>

namespace Veneer
{

// Where a control sits relative to its parent when the parent resizes:
// moved and stretched by percentages of the parent's change in size.
typedef struct tagTRelativePosUI
{
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
} TRelativePosUI;

// Whether a new value of a field equals the stored one: geometry records
// member by member, everything else with its own comparison.
template <class TField, class TValue> bool IsSameValue(const TField& field, const TValue& value)
{
    return field == value;
}

inline bool IsSameValue(const SIZE& sz1, const SIZE& sz2)
{
    return sz1.cx == sz2.cx && sz1.cy == sz2.cy;
}

inline bool IsSameValue(const RECT& rc1, const RECT& rc2)
{
    return rc1.left == rc2.left && rc1.top == rc2.top && rc1.right == rc2.right && rc1.bottom == rc2.bottom;
}

// The base of every element of a skin: geometry and size constraints, the
// visual attributes that every control shares (background, border, text,
// tooltip), the state flags, and the default behaviour for events,
// painting, hit-testing and invalidation. A control belongs to one manager
// and to at most one parent.
class VENEER_API CControlUI
{
  public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    virtual CUiString GetName() const;
    virtual void SetName(LPCWSTR pstrName);
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR pstrName);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;

    virtual CUiString GetText() const;
    virtual void SetText(LPCWSTR pstrText);

    // Position and size constraints.
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
    virtual void SetRelativeParentSize(SIZE sz);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CUiString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool bMenuUsed);
    virtual const CUiString& GetUserData();
    virtual void SetUserData(LPCWSTR pstrText);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    // State flags.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FindCallback Proc, LPVOID pData, UINT uFlags);

    virtual void Init();
    virtual void DoInit();
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);
    virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    void Invalidate();
    bool IsUpdateNeeded() const;
    void NeedUpdate();
    void NeedParentUpdate();
    DWORD GetAdjustColor(DWORD dwColor) const;
    void SetVirtualWnd(LPCWSTR pstrValue);
    CUiString GetVirtualWnd() const;
    CControlUI* ApplyAttributeList(LPCWSTR pstrList);
    bool DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    // Background, border and colour attributes.
    DWORD GetBkColor() const;
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD dwBackColor);
    LPCWSTR GetBkImage() const;
    void SetBkImage(LPCWSTR pStrImage);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD dwBorderColor);
    bool IsColorHSL() const;
    void SetColorHSL(bool bColorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int nSize);
    void SetBorderSize(RECT rc);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE cxyRound);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int nSize);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int nSize);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int nSize);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int nSize);
    int GetBorderStyle() const;
    void SetBorderStyle(int nStyle);

    // Observers: Init, the destructor, SetPos, Event (a false answer keeps
    // the event from DoEvent) and the manager's SendNotify fire these.
    CEventSource initSource;
    CEventSource destroySource;
    CEventSource sizeSource;
    CEventSource eventSource;
    CEventSource notifySource;

  protected:
    // Which layout a changed field asks for.
    enum LayoutScope
    {
        LayoutSelf,      // the control's own (NeedUpdate)
        LayoutParent,    // the parent's (NeedParentUpdate)
        LayoutPlacement, // where the control is placed: its own when it
                         // floats, else its parent's
    };

    // The setters whose value may be unchanged do nothing then; otherwise
    // they store it and repaint the control, or ask for the layout that the
    // field affects. Each answers whether the value changed.
    template <class TField, class TValue> bool SetAndInvalidate(TField& field, const TValue& value)
    {
        if (IsSameValue(field, value))
            return false;
        field = value;
        Invalidate();
        return true;
    }

    template <class TField, class TValue>
    bool SetAndRelayout(TField& field, const TValue& value, LayoutScope eScope)
    {
        if (IsSameValue(field, value))
            return false;
        field = value;
        NeedLayout(eScope);
        return true;
    }

    void NeedLayout(LayoutScope eScope);
    // Clips a rectangle by the positions of every ancestor; false when
    // nothing of it is left to show.
    bool ClipByAncestors(RECT& rc) const;
    void PaintLayers(HDC hDC);
    void PaintPerSideBorders(HDC hDC, DWORD dwColor);

    CPaintManagerUI* m_pManager;
    CControlUI* m_pParent;
    CUiString m_sVirtualWnd;
    CUiString m_sName;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bSetPos; // re-entry guard of sizeSource
    TRelativePosUI m_tRelativePos;

    CUiString m_sText;
    CUiString m_sToolTip;
    wchar_t m_chShortcut;
    CUiString m_sUserData;
    UINT_PTR m_pTag;

    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    CUiString m_sBkImage;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    bool m_bColorHSL;
    int m_nBorderSize;
    int m_nBorderStyle;
    int m_nTooltipWidth;
    SIZE m_cxyBorderRound;
    RECT m_rcPaint;
    RECT m_rcBorderSize;
};

} // namespace Veneer
