#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/UiEvents.h"
#include "veneer/resource/ResourceSettings.h"
#include "veneer/resource/ResourceTables.h"

#include <windows.h>

#include <commctrl.h>

namespace Veneer
{

class CControlUI;

// The factory that a plug-in module exports as "CreateControl": a new control
// for an element name, or null for a name the module does not know.
typedef CControlUI*(__cdecl* LPCREATECONTROL)(LPCWSTR pstrType);

// One timer of a control, multiplexed onto a timer of the paint window.
typedef struct tagTimerInfo
{
    CControlUI* pSender;
    UINT nLocalID;  // chosen by the control
    HWND hWnd;      // the paint window when the timer was made
    UINT uWinTimer; // chosen by the manager
    bool bKilled;   // stopped, but kept so that the control can re-arm it
} TimerInfo;

// State of one tab-order search.
typedef struct tagTabSearch
{
    CControlUI* pFocus; // where the search starts
    CControlUI* pLast;  // the last tab stop passed
    bool bForward;
    bool bNextIsIt;
} TabSearch;

// State of one search for an Alt-key shortcut.
typedef struct tagShortcutSearch
{
    wchar_t ch; // upper case
    bool bPickNext;
} ShortcutSearch;

// The hub of one skinned native window: it turns the window's messages into
// events for its tree of controls, lays the tree out and paints it
// double-buffered, and carries the services that controls use (focus,
// timers, notifications, lookups). It owns the resource tables (fonts,
// images, default attribute lists, default colours) that the controls of its
// window refer to, and can borrow those of a parent manager; its resource
// members forward to them. The resource settings and the colour shift are
// process-wide (CResourceSettings): every window of the process shares them.
class VENEER_API CPaintManagerUI
{
  public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // Window side: the native window, its device contexts and how it paints.
    void Init(HWND hWnd);
    void NeedUpdate();
    void Invalidate(RECT& rcItem);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const;
    POINT GetMousePos() const;
    SIZE GetClientSize() const;
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    RECT& GetSizeBox();
    void SetSizeBox(RECT& rcSizeBox);
    RECT& GetCaptionRect();
    void SetCaptionRect(RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);
    int GetTransparent() const;
    void SetTransparent(int nOpacity);
    bool IsBackgroundTransparent() const;
    void SetBackgroundTransparent(bool bTrans);
    bool IsShowUpdateRect() const;
    void SetShowUpdateRect(bool show);

    // The control tree.
    CControlUI* GetRoot() const;
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    void ReapObjects(CControlUI* pControl);
    void AddDelayedCleanup(CControlUI* pControl);

    // Focus and tab order.
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* pControl);
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);

    // Mouse capture of the paint window.
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // Control timers, multiplexed onto timers of the paint window.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // Notifications from controls to listeners, at once or at the next
    // message of the window.
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    void UsedVirtualWnd(bool bUsed);

    // Option groups: option buttons of one group check each other off.
    bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
    void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // Controls painted again after the whole tree.
    int GetPostPaintCount() const;
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool SetPostPaintIndex(CControlUI* pControl, int iIndex);

    // Message filters and accelerator translators.
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool TranslateAcceleratorW(MSG* pMsg);

    // Control lookups. A null parent means the root.
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCWSTR pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
    CStdPtrArray* GetSubControlsByClass();
    // Keeps the name lookup in step with a control of this manager that was
    // renamed: the old name no longer finds it, the new one does.
    void RenameControl(CControlUI* pControl, LPCWSTR pstrOldName);

    // Message handling: true means handled, with lRes as the result.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Offers a queued message to the manager of its window; true when consumed.
    static bool TranslateMessage(const LPMSG pMsg);
    static void MessageLoop();

    // A zero-filled event of the given type, stamped with the time.
    static TEventUI NewEvent(int type, CControlUI* pSender);

    // Callbacks of the lookups, each taking (control, data).
    static CControlUI* __FindControlFromNameHash(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromCount(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromPoint(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromTab(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromShortcut(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromUpdate(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromName(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlFromClass(CControlUI* pThis, LPVOID pData);
    static CControlUI* __FindControlsFromClass(CControlUI* pThis, LPVOID pData);

    // Paints the control into an off-screen bitmap like the window's and
    // returns a 32-bit DIB copy of `rc` from it, owned by the caller; null on
    // failure.
    HBITMAP GenerateBitmap(CControlUI* pControl, RECT rc);

    // The window's resource tables, for the drawing calls of the render
    // engine.
    CResourceTables* GetResources();

    // Resource settings: where skin documents and images are looked for.
    static HINSTANCE GetInstance();
    static CUiString GetInstancePath();
    static CUiString GetCurrentPath();
    static HINSTANCE GetResourceDll();
    static const CUiString& GetResourcePath();
    static const CUiString& GetResourceZip();
    static bool IsCachedResourceZip();
    // The archive was given from memory ("membuffer"): it has no file.
    static bool IsResourceZipInMemory();
    static HZIP GetResourceZipHandle();
    static void SetInstance(HINSTANCE hInst);
    static void SetCurrentPath(LPCWSTR pStrPath);
    static void SetResourceDll(HINSTANCE hInst);
    static void SetResourcePath(LPCWSTR pStrPath);
    static void SetResourceZip(const void* pVoid, unsigned int len);
    static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);

    // Plug-in modules that make controls for element names the builder does
    // not know; the modules stay loaded. The list holds LPCREATECONTROL.
    static bool LoadPlugin(LPCWSTR pstrModuleName);
    static CStdPtrArray* GetPlugins();

    // Fonts. Lookups by name or handle also search the parent managers;
    // indexes always refer to this manager's own table.
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetCustomFontCount() const;
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int index);
    HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool FindFont(HFONT hFont);
    bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetFontIndex(HFONT hFont);
    int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();
    TFontInfo* GetFontInfo(int index);
    TFontInfo* GetFontInfo(HFONT hFont);
    TFontInfo* GetDefaultFontInfo();

    // Images, keyed by their name.
    const TImageInfo* GetImage(LPCWSTR bitmap);
    const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    void ReloadAllImages();
    static void ReloadSkin();

    // Default attribute lists, keyed by control class name.
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();

    // Default colours: read from the topmost manager, set on this one.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // The manager whose resources this one borrows.
    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const;

    // The process-wide colour shift; 180, 100, 100 leaves colours unchanged.
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void GetHSL(short* H, short* S, short* L);

    // The face name of every default font made afterwards, when not empty.
    static CUiString& m_pStrDefaultFontName;

  private:
    // Posted to the paint window to delete the delayed-cleanup list.
    static const UINT kMsgDelayedCleanup = WM_APP + 1;

    // Message handling, one helper per message family.
    bool HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool RunFilters(const CStdPtrArray& aFilters, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void HandleSize();
    void HandleClose();
    bool HandleSetCursor(WPARAM wParam, LPARAM lParam);
    void HandleGetMinMaxInfo(MINMAXINFO* pInfo) const;
    bool HandleNotify(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void HandleContextMenu(WPARAM wParam, LPARAM lParam);
    void HandleKey(UINT uMsg, WPARAM wParam);
    void HandleTimer(WPARAM wParam);
    CControlUI* FindOwnControl(POINT pt) const;
    void TrackMouse();
    void HandleMouseMove(LPARAM lParam);
    void HandleButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void HandleButtonUp(WPARAM wParam, LPARAM lParam);
    void HandleMouseWheel(WPARAM wParam, LPARAM lParam);
    bool HandleMouseHover(LPARAM lParam);
    void ShowToolTip(CControlUI* pControl, const CUiString& sToolTip);
    void HandleMouseLeave();
    void HandlePrintClient(HDC hDC, LPARAM lParam);
    bool HandleShortcut(wchar_t ch);
    bool OwnsMessageWindow(HWND hWnd, bool bChild) const;

    // Layout and painting.
    void HandlePaint();
    void RunLayoutPass();
    void LayoutTree(const RECT& rcClient);
    void LayoutUpdatedControls();
    void CreateOffscreen();
    void PaintNormal(const RECT& rcUpdate);
    void PaintOffscreen(HDC hDC, const RECT& rcPaint);
    void OutlineUpdateRect(HDC hDC, const RECT& rcUpdate) const;
    void PaintLayered();
    void DeleteOffscreen();
    void DeleteBackground();

    // Services.
    void SendKillFocus(CControlUI* pNewFocus);
    bool IsTimerIdInUse(UINT uWinTimer) const;
    bool NextTimerId();
    bool ArmWindowTimer(UINT uWinTimer, UINT uElapse);
    void DeliverNotify(TNotifyUI& Msg);
    void DrainAsyncNotify();
    void DeleteAsyncNotify();
    void DeleteDelayedCleanup();
    void ForgetInOptionGroups(CControlUI* pControl);

    void InvalidateRoot();

    // Instance fields, in the order in which the manager declares them: the
    // window and its device contexts, the control tree and input state,
    // window metrics, flags, the registries, and the resources.
    HWND m_hWndPaint;
    int m_nOpacity;
    HDC m_hDcPaint;
    HDC m_hDcOffscreen;
    HDC m_hDcBackground;
    HBITMAP m_hbmpOffscreen;
    HBITMAP m_hbmpBackground;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip; // used in its short form, without the reserved tail
    bool m_bShowUpdateRect;
    CControlUI* m_pRoot;
    CControlUI* m_pFocus;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    CControlUI* m_pEventKey;
    POINT m_ptLastMousePos;
    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;
    UINT m_uTimerID;
    bool m_bFirstLayout;
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bOffscreenPaint;
    bool m_bLayered; // paints as a per-pixel-alpha layered window
    bool m_bMouseTracking;
    bool m_bMouseCapture;
    bool m_bUsedVirtualWnd;
    CStdPtrArray m_aNotifiers;
    CStdPtrArray m_aTimers;
    CStdPtrArray m_aPreMessageFilters;
    CStdPtrArray m_aMessageFilters;
    CStdPtrArray m_aPostPaintControls;
    CStdPtrArray m_aDelayedCleanup;
    CStdPtrArray m_aAsyncNotify;
    CStdPtrArray m_aFoundControls;
    CStdStringPtrMap m_mNameHash;
    CStdStringPtrMap m_mOptionGroup;
    CPaintManagerUI* m_pParentResourcePM;
    CResourceTables m_resources;
    CStdPtrArray m_aTranslateAccelerators;
    HRGN m_hRgnLayoutInvalid; // what the running layout pass has invalidated

    // Process-wide fields: the registered managers. The resource settings
    // and the colour shift are CResourceSettings'.
    static CStdPtrArray m_aPreMessages;
    static HPEN m_hUpdateRectPen;
};

} // namespace Veneer
