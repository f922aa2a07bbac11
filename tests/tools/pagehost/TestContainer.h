#pragma once

// A small container for the page host, written the way a host of the real
// web browser control is: a client site and windowed in-place site, a
// DWebBrowserEvents2 sink, a document UI handler with a command target, and
// the object it hands the page as window.external. Every call the page
// host makes of them is recorded in one log, in order.
#include "tools/pagehost/PageHostApi.h"
#include "veneer/core/ComObject.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <oleidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace PageHostTest
{

typedef std::vector<std::string> CallLog;

// A test object lives as a member of its test: it counts references and
// never deletes itself, so a test can check that the page host let go. It
// answers QueryInterface from its table kInterfaces, as the page host's
// own objects do.
template <typename TObject, typename... TInterfaces> class CTestObject : public TInterfaces...
{
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        return Veneer::QueryInterfaceFromTable<CTestObject>(this, TObject::kInterfaces, riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }
    long Refs() const { return m_refs; }

  protected:
    using CEntry = Veneer::CInterfaceEntry<CTestObject>;
    template <typename TInterface> static constexpr CEntry Entry(const IID& iid)
    {
        return Veneer::InterfaceEntry<TInterface, CTestObject>(iid);
    }

  private:
    long m_refs = 0;
};

// One argument as "TYPE:value" ("BSTR:A", "I4:2", "BOOL:-1", "R8:1.5").
std::string Describe(const VARIANT& value);
std::string Narrow(const wchar_t* text);

// Answers IOleInPlaceSiteEx only when asked to, as the toolkit's site
// (windowless capable) does; its activation then sets the page's
// rectangles from inside OnInPlaceActivateEx, as that site does too.
class CTestSite final : public CTestObject<CTestSite, IOleClientSite, IOleInPlaceSiteEx>
{
  public:
    static constexpr CEntry kInterfaces[] = {
        Entry<IOleClientSite>(IID_IOleClientSite), Entry<IOleInPlaceSiteEx>(IID_IOleWindow),
        Entry<IOleInPlaceSiteEx>(IID_IOleInPlaceSite), Entry<IOleInPlaceSiteEx>(IID_IOleInPlaceSiteEx)};

    CTestSite(CallLog& log, HWND hHost) : m_log(log), m_hHost(hHost) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* pfNoRedraw, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL fNoRedraw) override;
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override { return S_OK; }

    // The rectangle GetWindowContext reports, in the host's client area.
    RECT m_pagePos{0, 0, 300, 200};
    bool m_bAnswerSiteEx = false;
    // What OnInPlaceActivateEx sets on the object (held by the test).
    IOleObject* m_pObject = nullptr;
    RECT m_activationRect{5, 6, 105, 56};

  private:
    CallLog& m_log;
    HWND m_hHost;
};

// window.external: records each call by name, with its flags and its
// arguments in the order the page wrote them.
class CTestExternal final : public CTestObject<CTestExternal, Veneer::CTypelessDispatch<IDispatch>>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch)};

    struct CCall
    {
        std::string name;
        WORD flags = 0;
        std::vector<std::string> args;
    };

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

    std::vector<CCall> m_calls;
    // Raw reversed order as received, of the last call.
    std::vector<std::string> m_lastRaw;

  private:
    std::vector<std::string> m_names;
};

class CTestHandler final : public CTestObject<CTestHandler, IDocHostUIHandler, IOleCommandTarget>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDocHostUIHandler>(IID_IDocHostUIHandler),
                                             Entry<IOleCommandTarget>(IID_IOleCommandTarget)};

    explicit CTestHandler(CallLog& log) : m_log(log) {}

    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* ppt, IUnknown*, IDispatch*) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* pchKey, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** ppDispatch) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** ppDORet) override;
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) override;

    DWORD m_hostFlags = 0;
    HRESULT m_contextMenuAnswer = S_OK;
    IDispatch* m_pExternal = nullptr; // handed out; null makes GetExternal fail
    VARIANT_BOOL m_keepRunningScripts = VARIANT_TRUE;
    // The event object's properties read during the last script error.
    std::vector<std::string> m_lastError;

  private:
    CallLog& m_log;
};

// The DWebBrowserEvents2 sink. Like the toolkit's browser control it
// installs its UI handler on each new document in NavigateComplete2.
class CTestSink final : public CTestObject<CTestSink, Veneer::CTypelessDispatch<IDispatch>>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch)};

    CTestSink(CallLog& log, CTestHandler* pHandler) : m_log(log), m_pHandler(pHandler) {}

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    IWebBrowser2* m_pBrowser = nullptr; // not held
    std::wstring m_cancelUrl;
    // Every argument of every event had the type the real browser gives it.
    bool m_bArgumentsWellFormed = true;
    std::string m_lastProblem;

  private:
    void Check(bool condition, const char* problem);
    std::string UrlAt(DISPPARAMS* params, UINT index);

    CallLog& m_log;
    CTestHandler* m_pHandler;
};

// The page host loaded from the build folder, and its exports.
class CPageHostModule
{
  public:
    CPageHostModule();
    ~CPageHostModule();
    CPageHostModule(const CPageHostModule&) = delete;
    CPageHostModule& operator=(const CPageHostModule&) = delete;

    bool Loaded() const;
    HRESULT CreateBrowser(REFIID riid, void** ppv) const;
    LONG LiveObjects() const { return m_pfnLive(); }
    std::string MessageLog() const;
    void ClearMessageLog() const { m_pfnClear(); }
    int ActionCount(HWND view) const { return m_pfnActionCount(view); }
    bool ActionRect(HWND view, int index, RECT& rect) const
    {
        return m_pfnActionRect(view, index, &rect) != FALSE;
    }
    HRESULT CanUnloadNow() const { return m_pfnCanUnload(); }

  private:
    HMODULE m_hModule = nullptr;
    LPFNGETCLASSOBJECT m_pfnGetClassObject = nullptr;
    HRESULT(WINAPI* m_pfnCanUnload)() = nullptr;
    PageHostLiveObjectsFn m_pfnLive = nullptr;
    PageHostMessageLogFn m_pfnLog = nullptr;
    PageHostClearMessageLogFn m_pfnClear = nullptr;
    PageHostActionCountFn m_pfnActionCount = nullptr;
    PageHostActionRectFn m_pfnActionRect = nullptr;
};

// A shown top-level window that lends its client area to the page.
class CHostWindow
{
  public:
    CHostWindow(int x, int y, int cx, int cy);
    ~CHostWindow();
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;
    HWND Get() const { return m_hWnd; }

  private:
    HWND m_hWnd = nullptr;
};

// Embeds a browser of the page host as a container does: created from the
// factory (IOleObject), the site set first (as its misc status asks), new
// state, in-place activation in the host window, events connected.
class CEmbedding
{
  public:
    CEmbedding(const CPageHostModule& module, CTestSite& site, CTestSink& sink);
    ~CEmbedding();
    CEmbedding(const CEmbedding&) = delete;
    CEmbedding& operator=(const CEmbedding&) = delete;

    bool Ready() const { return m_hr == S_OK; }
    HRESULT Result() const { return m_hr; }
    IWebBrowser2* Browser() const { return m_browser.Get(); }
    IOleObject* Object() const { return m_object.Get(); }
    HWND View() const;
    HRESULT Navigate(const std::wstring& url);
    // Closes and releases everything as the toolkit's host does.
    void Release();

  private:
    HRESULT m_hr = E_FAIL;
    CTestSite& m_site;
    CTestSink& m_sink;
    Microsoft::WRL::ComPtr<IOleObject> m_object;
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

// How long a test waits for what it expects before it fails.
constexpr DWORD kWaitMs = 20000;
bool Contains(const CallLog& log, const std::string& entry);
size_t IndexOf(const CallLog& log, const std::string& entry);

} // namespace PageHostTest
