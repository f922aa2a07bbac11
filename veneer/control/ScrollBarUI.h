#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

class CContainerUI;

// A scroll bar: a track, an optional button at each end, a thumb whose size
// and place follow the range and the position, and a grip image centred on
// the thumb (the rail). Buttons, track clicks and thumb drags change the
// position; a bar owned by a container calls the container's scroll
// operations instead, so that the container moves its children.
class VENEER_API CScrollBarUI : public CControlUI
{
  public:
    CScrollBarUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetFocus() override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* pOwner);
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    int GetScrollRange() const;
    void SetScrollRange(int nRange);
    int GetScrollPos() const;
    void SetScrollPos(int nPos);
    int GetLineSize() const;
    void SetLineSize(int nSize);
    bool GetShowButton1() const;
    void SetShowButton1(bool bShow);
    bool GetShowButton2() const;
    void SetShowButton2(bool bShow);

    LPCWSTR GetButton1NormalImage() const;
    void SetButton1NormalImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1HotImage() const;
    void SetButton1HotImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1PushedImage() const;
    void SetButton1PushedImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1DisabledImage() const;
    void SetButton1DisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2NormalImage() const;
    void SetButton2NormalImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2HotImage() const;
    void SetButton2HotImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2PushedImage() const;
    void SetButton2PushedImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2DisabledImage() const;
    void SetButton2DisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbNormalImage() const;
    void SetThumbNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbDisabledImage() const;
    void SetThumbDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetRailNormalImage() const;
    void SetRailNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetRailHotImage() const;
    void SetRailHotImage(LPCWSTR pStrImage);
    LPCWSTR GetRailPushedImage() const;
    void SetRailPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetRailDisabledImage() const;
    void SetRailDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetBkNormalImage() const;
    void SetBkNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetBkHotImage() const;
    void SetBkHotImage(LPCWSTR pStrImage);
    LPCWSTR GetBkPushedImage() const;
    void SetBkPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetBkDisabledImage() const;
    void SetBkDisabledImage(LPCWSTR pStrImage);

    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

    // The parts as the last SetPos placed them.
    const RECT& GetButton1Rect() const;
    const RECT& GetButton2Rect() const;
    const RECT& GetThumbRect() const;

    // Bits of the state words of the buttons and the thumb.
    static const UINT StateDisabled = 0x04;
    static const UINT StateHot = 0x08;
    static const UINT StatePushed = 0x10;
    static const UINT StateCaptured = 0x40;

  protected:
    // The images of one part, by state.
    enum PartImage
    {
        ImageNormal,
        ImageHot,
        ImagePushed,
        ImageDisabled,
        ImageCount
    };

    void SetPartImage(CUiString& sImage, LPCWSTR pStrImage);

    // Geometry along the bar (y for a vertical bar, x for a horizontal one).
    int Thickness() const;
    RECT PartRect(int nAlongStart, int nAlongEnd, int nAcrossStart, int nAcrossEnd) const;
    int Along(POINT pt) const;
    int AlongStart(const RECT& rc) const;
    int AlongEnd(const RECT& rc) const;
    int AlongLength(const RECT& rc) const;
    int FreeLength() const;
    int ClampPos(LONGLONG nPos) const;

    // Input.
    void PassOn(TEventUI& event);
    void PressAt(POINT pt);
    void Release();
    void TrackThumb(POINT pt);
    void TrackHot(POINT pt);
    void SetHot(bool bHot, POINT pt);
    void OnTimerTick();
    // The scrolling actions, -1 backwards and 1 forwards; each answers
    // false when a handler deleted the bar.
    bool RepeatTrackPress();
    bool ScrollLines(int nDirection);
    bool ScrollPages(int nDirection);
    bool MoveTo(int nPos);
    void NotifyScroll();

    // Painting.
    bool DrawStateImage(HDC hDC, CUiString* pImages, UINT uState, LPCWSTR pStrModify);
    LPCWSTR DestModifier(const RECT& rcPart);
    void PaintPart(HDC hDC, CUiString* pImages, UINT& uState, const RECT& rcPart);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;

    CUiString m_sBkImages[ImageCount];

    bool m_bShowButton1;
    RECT m_rcButton1;
    UINT m_uButton1State;
    CUiString m_sButton1Images[ImageCount];

    bool m_bShowButton2;
    RECT m_rcButton2;
    UINT m_uButton2State;
    CUiString m_sButton2Images[ImageCount];

    UINT m_uThumbState;
    RECT m_rcThumb;
    CUiString m_sThumbImages[ImageCount];

    CUiString m_sRailImages[ImageCount];

    CUiString m_sImageModify;
};

} // namespace Veneer
