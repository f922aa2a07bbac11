#pragma once

#include "veneer/builder/DialogBuilder.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/PaintManagerUI.h"
#include "veneer/window/NotifyPump.h"
#include "veneer/window/WindowWnd.h"

#include <windows.h>

namespace Veneer
{

// Where a skinned window's skin comes from.
enum UILIB_RESOURCETYPE
{
    UILIB_FILE = 1,       // a file under the resource path (or in the archive)
    UILIB_ZIP = 2,        // as 1, with the archive file GetZIPFileName opened first
    UILIB_RESOURCE = 3,   // the module resource of type "xml" whose id GetSkinXml names
    UILIB_ZIPRESOURCE = 4 // as 1, with the "ZIPRES" module resource GetResourceID as the archive
};

// A borderless top-level window drawn entirely by its skin: on creation it
// drops the caption, builds its tree from the skin and attaches it to its
// paint manager. The whole window is client area; the skin's caption and
// size box answer the hit tests, maximized windows fit the work area, the
// skin's corner radius clips the window, and the buttons named "closebtn",
// "minbtn", "maxbtn" and "restorebtn" work without code.
class VENEER_API WindowImplBase : public CWindowWnd,
                                  public CNotifyPump,
                                  public INotifyUI,
                                  public IMessageFilterUI,
                                  public IDialogBuilderCallback
{
  public:
    WindowImplBase();
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    virtual ~WindowImplBase();
    virtual void InitWindow();
    virtual void OnClick(TNotifyUI& msg);
    virtual CUiString GetSkinDir() = 0;
    virtual CUiString GetSkinXml() = 0;
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual UILIB_RESOURCETYPE GetResourceType() const;
    virtual CUiString GetZIPFileName() const;
    virtual LPCWSTR GetResourceID() const;

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LONG GetStyle();

    // The other interfaces: notifications go through the message map, the
    // pre-message filter answers the default keys, and no custom classes.
    void Notify(TNotifyUI& msg) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    CControlUI* CreateControl(LPCWSTR pstrClass) override;

    void GetCaptionRect(RECT& rcCaption);

  protected:
    // The steps of creation, for windows that build their skin their own
    // way: the borderless style and frame, the manager and filter, the
    // resource path and archive (false when a "ZIPRES" archive is missing),
    // and the attachment of a built tree.
    void PrepareFrame();
    bool PrepareResources();
    void AttachSkin(CControlUI* pRoot);

    CPaintManagerUI m_PaintManager;
    // The skin archive read from a module resource, kept for the process.
    static LPBYTE m_lpResourceZIPBuffer;

    UI_DECLARE_MESSAGE_MAP()
};

} // namespace Veneer
