#include "TestContainer.h"

#include "tests/support/TestSupport.h"
#include "tools/pagehost/Guids.h"

#include <exdispid.h>
#include <mshtml.h>

#include <cstdio>

namespace PageHostTest
{

namespace
{

const char* EventName(DISPID id)
{
    switch (id)
    {
    case DISPID_BEFORENAVIGATE2:
        return "BeforeNavigate2";
    case DISPID_NAVIGATECOMPLETE2:
        return "NavigateComplete2";
    case DISPID_DOCUMENTCOMPLETE:
        return "DocumentComplete";
    case DISPID_NAVIGATEERROR:
        return "NavigateError";
    case DISPID_WINDOWCLOSING:
        return "WindowClosing";
    default:
        return "other";
    }
}

// Reads one property of the window's event object as the toolkit's host
// does: GetIDsOfNames, then a property get.
std::string ReadProperty(IDispatch* pEvent, const wchar_t* name)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(pEvent->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id)))
        return "missing";
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS none{};
    if (FAILED(pEvent->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                              nullptr, nullptr)))
        return "failed";
    const std::string text = Describe(value);
    VariantClear(&value);
    return text;
}

} // namespace

std::string Narrow(const wchar_t* text)
{
    if (text == nullptr)
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

std::string Describe(const VARIANT& value)
{
    char number[64] = {};
    switch (V_VT(&value))
    {
    case VT_BSTR:
        return "BSTR:" + Narrow(V_BSTR(&value));
    case VT_I4:
        snprintf(number, sizeof(number), "I4:%ld", static_cast<long>(V_I4(&value)));
        return number;
    case VT_R8:
        snprintf(number, sizeof(number), "R8:%g", V_R8(&value));
        return number;
    case VT_BOOL:
        return V_BOOL(&value) != VARIANT_FALSE ? "BOOL:-1" : "BOOL:0";
    case VT_DISPATCH:
        return "DISPATCH";
    case VT_EMPTY:
        return "EMPTY";
    case VT_NULL:
        return "NULL";
    default:
        snprintf(number, sizeof(number), "VT:%d", static_cast<int>(V_VT(&value)));
        return number;
    }
}

bool Contains(const CallLog& log, const std::string& entry)
{
    return IndexOf(log, entry) != std::string::npos;
}

size_t IndexOf(const CallLog& log, const std::string& entry)
{
    for (size_t i = 0; i < log.size(); ++i)
    {
        if (log[i] == entry)
            return i;
    }
    return std::string::npos;
}

HRESULT STDMETHODCALLTYPE CTestSite::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IOleInPlaceSiteEx && !m_bAnswerSiteEx)
        return Veneer::AnswerNothing(ppv, E_NOINTERFACE);
    return CTestObject::QueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE CTestSite::OnInPlaceActivateEx(BOOL*, DWORD dwFlags)
{
    m_log.push_back("site.OnInPlaceActivateEx " + std::to_string(dwFlags));
    Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlace;
    if (m_pObject != nullptr && SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, &inPlace)))
        inPlace->SetObjectRects(&m_activationRect, &m_activationRect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::OnInPlaceDeactivateEx(BOOL fNoRedraw)
{
    m_log.push_back("site.OnInPlaceDeactivateEx " + std::to_string(fNoRedraw));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    *ppmk = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CTestSite::GetContainer(IOleContainer** ppContainer)
{
    *ppContainer = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CTestSite::GetWindow(HWND* phwnd)
{
    m_log.push_back("site.GetWindow");
    *phwnd = m_hHost;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::CanInPlaceActivate()
{
    m_log.push_back("site.CanInPlaceActivate");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::OnInPlaceActivate()
{
    m_log.push_back("site.OnInPlaceActivate");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::OnUIActivate()
{
    m_log.push_back("site.OnUIActivate");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                      LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                      LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    m_log.push_back("site.GetWindowContext");
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    *lprcPosRect = m_pagePos;
    *lprcClipRect = m_pagePos;
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = m_hHost;
    lpFrameInfo->haccel = nullptr;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::OnUIDeactivate(BOOL)
{
    m_log.push_back("site.OnUIDeactivate");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestSite::OnInPlaceDeactivate()
{
    m_log.push_back("site.OnInPlaceDeactivate");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (count == 0)
        return E_INVALIDARG;
    const std::string name = Narrow(names[0]);
    for (size_t i = 0; i < m_names.size(); ++i)
    {
        if (m_names[i] == name)
        {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    m_names.push_back(name);
    ids[0] = static_cast<DISPID>(m_names.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestExternal::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id < 1 || static_cast<size_t>(id) > m_names.size())
        return DISP_E_MEMBERNOTFOUND;
    CCall call;
    call.name = m_names[static_cast<size_t>(id) - 1];
    call.flags = flags;
    m_lastRaw.clear();
    for (UINT i = 0; i < params->cArgs; ++i)
        m_lastRaw.push_back(Describe(params->rgvarg[i]));
    call.args.assign(m_lastRaw.rbegin(), m_lastRaw.rend());
    m_calls.push_back(call);
    if (result != nullptr)
        VariantInit(result);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestHandler::ShowContextMenu(DWORD id, POINT* ppt, IUnknown*, IDispatch*)
{
    m_log.push_back("handler.ShowContextMenu " + std::to_string(id) + " " + std::to_string(ppt->x) + "," +
                    std::to_string(ppt->y));
    return m_contextMenuAnswer;
}

HRESULT STDMETHODCALLTYPE CTestHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    m_log.push_back("handler.GetHostInfo");
    pInfo->dwFlags |= m_hostFlags;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    *pchKey = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CTestHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CTestHandler::GetExternal(IDispatch** ppDispatch)
{
    m_log.push_back("handler.GetExternal");
    *ppDispatch = m_pExternal;
    if (m_pExternal == nullptr)
        return E_NOTIMPL;
    m_pExternal->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CTestHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    *ppchURLOut = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CTestHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    *ppDORet = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CTestHandler::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

// Reads the error through the document's window event object, the way the
// toolkit's browser control does.
HRESULT STDMETHODCALLTYPE CTestHandler::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out)
{
    if (group == nullptr || *group != PageHost::kCGID_DocHostCommandHandler)
        return OLECMDERR_E_UNKNOWNGROUP;
    m_log.push_back("handler.Exec " + std::to_string(id));
    if (id != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    m_lastError.clear();
    Microsoft::WRL::ComPtr<IHTMLDocument2> document;
    Microsoft::WRL::ComPtr<IHTMLWindow2> window;
    Microsoft::WRL::ComPtr<IHTMLEventObj> event;
    if (in == nullptr || V_VT(in) != VT_UNKNOWN || V_UNKNOWN(in) == nullptr ||
        FAILED(V_UNKNOWN(in)->QueryInterface(IID_IHTMLDocument2, &document)) ||
        FAILED(document->get_parentWindow(&window)) || FAILED(window->get_event(&event)) || !event)
    {
        m_lastError.push_back("no event object");
        return E_FAIL;
    }
    for (const wchar_t* name : {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl"})
        m_lastError.push_back(Narrow(name) + "=" + ReadProperty(event.Get(), name));
    V_VT(out) = VT_BOOL;
    V_BOOL(out) = m_keepRunningScripts;
    return S_OK;
}

void CTestSink::Check(bool condition, const char* problem)
{
    if (!condition)
    {
        m_bArgumentsWellFormed = false;
        m_lastProblem = problem;
    }
}

std::string CTestSink::UrlAt(DISPPARAMS* params, UINT index)
{
    const VARIANT& arg = params->rgvarg[index];
    Check(V_VT(&arg) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&arg) != nullptr &&
              V_VT(V_VARIANTREF(&arg)) == VT_BSTR,
          "address not a BSTR by reference");
    if (V_VT(&arg) != (VT_VARIANT | VT_BYREF) || V_VARIANTREF(&arg) == nullptr)
        return "?";
    return Narrow(V_BSTR(V_VARIANTREF(&arg)));
}

HRESULT STDMETHODCALLTYPE CTestSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                            EXCEPINFO*, UINT*)
{
    std::string entry = EventName(id);
    const UINT expected[] = {7, 2, 2, 5, 2};
    const DISPID ids[] = {DISPID_BEFORENAVIGATE2, DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE,
                          DISPID_NAVIGATEERROR, DISPID_WINDOWCLOSING};
    for (size_t i = 0; i < 5; ++i)
    {
        if (ids[i] == id)
            Check(params->cArgs == expected[i] && params->cNamedArgs == 0, "argument count");
    }
    if (id == DISPID_WINDOWCLOSING)
    {
        Check(V_VT(&params->rgvarg[0]) == (VT_BOOL | VT_BYREF), "cancel flag");
        m_log.push_back(entry);
        return S_OK;
    }
    if (entry == "other")
        return DISP_E_MEMBERNOTFOUND;
    const UINT last = params->cArgs - 1;
    // The first argument is the browser itself.
    Microsoft::WRL::ComPtr<IUnknown> sender;
    Microsoft::WRL::ComPtr<IUnknown> browser;
    Check(V_VT(&params->rgvarg[last]) == VT_DISPATCH && V_DISPATCH(&params->rgvarg[last]) != nullptr,
          "sender");
    if (V_VT(&params->rgvarg[last]) == VT_DISPATCH && V_DISPATCH(&params->rgvarg[last]) != nullptr &&
        m_pBrowser != nullptr)
    {
        V_DISPATCH(&params->rgvarg[last])->QueryInterface(IID_IUnknown, &sender);
        m_pBrowser->QueryInterface(IID_IUnknown, &browser);
        Check(sender.Get() == browser.Get(), "sender is not the browser");
    }
    const std::string url = UrlAt(params, last - 1);
    entry += " " + url;
    if (id == DISPID_BEFORENAVIGATE2)
    {
        VARIANT* flags = V_VARIANTREF(&params->rgvarg[4]);
        Check(V_VT(&params->rgvarg[4]) == (VT_VARIANT | VT_BYREF) && V_VT(flags) == VT_I4, "flags");
        Check(V_VT(&params->rgvarg[0]) == (VT_BOOL | VT_BYREF), "cancel flag");
        if (!m_cancelUrl.empty() && Narrow(m_cancelUrl.c_str()) == url)
            *V_BOOLREF(&params->rgvarg[0]) = VARIANT_TRUE;
    }
    if (id == DISPID_NAVIGATEERROR)
    {
        VARIANT* status = V_VARIANTREF(&params->rgvarg[1]);
        Check(V_VT(&params->rgvarg[1]) == (VT_VARIANT | VT_BYREF) && V_VT(status) == VT_I4, "status");
        Check(V_VT(&params->rgvarg[0]) == (VT_BOOL | VT_BYREF), "cancel flag");
        char text[16] = {};
        snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(V_I4(status)));
        entry += std::string(" ") + text;
    }
    m_log.push_back(entry);
    // As the toolkit's browser control: the handler goes onto each new document.
    Microsoft::WRL::ComPtr<IDispatch> document;
    Microsoft::WRL::ComPtr<ICustomDoc> custom;
    if (id == DISPID_NAVIGATECOMPLETE2 && m_pHandler != nullptr && m_pBrowser != nullptr &&
        SUCCEEDED(m_pBrowser->get_Document(&document)) && document &&
        SUCCEEDED(document->QueryInterface(PageHost::kIID_ICustomDoc, &custom)))
        custom->SetUIHandler(m_pHandler);
    return S_OK;
}

namespace
{

// A DLL export as the function type it has; through void(*)() because the
// compiler warns about a direct cast from FARPROC.
template <typename T> T Export(HMODULE hModule, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, name)));
}

} // namespace

CPageHostModule::CPageHostModule()
{
    m_hModule = LoadLibraryA((TestSupport::BinFolder() + "\\pagehost.dll").c_str());
    if (m_hModule == nullptr)
        return;
    m_pfnGetClassObject = Export<LPFNGETCLASSOBJECT>(m_hModule, "DllGetClassObject");
    m_pfnCanUnload = Export<HRESULT(WINAPI*)()>(m_hModule, "DllCanUnloadNow");
    m_pfnLive = Export<PageHostLiveObjectsFn>(m_hModule, "PageHostLiveObjects");
    m_pfnLog = Export<PageHostMessageLogFn>(m_hModule, "PageHostMessageLog");
    m_pfnClear = Export<PageHostClearMessageLogFn>(m_hModule, "PageHostClearMessageLog");
    m_pfnActionCount = Export<PageHostActionCountFn>(m_hModule, "PageHostActionCount");
    m_pfnActionRect = Export<PageHostActionRectFn>(m_hModule, "PageHostActionRect");
}

CPageHostModule::~CPageHostModule()
{
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

bool CPageHostModule::Loaded() const
{
    return m_pfnGetClassObject != nullptr && m_pfnCanUnload != nullptr && m_pfnLive != nullptr &&
           m_pfnLog != nullptr && m_pfnClear != nullptr && m_pfnActionCount != nullptr &&
           m_pfnActionRect != nullptr;
}

HRESULT CPageHostModule::CreateBrowser(REFIID riid, void** ppv) const
{
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    HRESULT hr = m_pfnGetClassObject(CLSID_WebBrowser, IID_IClassFactory, &factory);
    if (SUCCEEDED(hr))
        hr = factory->CreateInstance(nullptr, riid, ppv);
    return hr;
}

std::string CPageHostModule::MessageLog() const
{
    std::wstring text(m_pfnLog(nullptr, 0) + 1, L'\0');
    m_pfnLog(&text[0], static_cast<UINT>(text.size()));
    return Narrow(text.c_str());
}

CHostWindow::CHostWindow(int x, int y, int cx, int cy)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"PageHostTestHost";
    RegisterClassExW(&wc);
    m_hWnd =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"PageHostTestHost", L"page host test", WS_POPUP | WS_CLIPCHILDREN,
                        x, y, cx, cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Shown without activation, so that no window manager is waited for.
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hWnd);
}

CHostWindow::~CHostWindow()
{
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

CEmbedding::CEmbedding(const CPageHostModule& module, CTestSite& site, CTestSink& sink)
    : m_site(site), m_sink(sink)
{
    m_hr = module.CreateBrowser(IID_IOleObject, &m_object);
    if (FAILED(m_hr))
        return;
    DWORD status = 0;
    m_object->GetMiscStatus(DVASPECT_CONTENT, &status);
    m_hr = (status & OLEMISC_SETCLIENTSITEFIRST) != 0 ? m_object->SetClientSite(&site) : E_FAIL;
    Microsoft::WRL::ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(m_hr) && SUCCEEDED(m_object.As(&persist)))
        m_hr = persist->InitNew();
    if (SUCCEEDED(m_hr))
        m_hr = m_object->SetHostNames(L"PageHostTest", nullptr);
    HWND hHost = nullptr;
    site.GetWindow(&hHost);
    site.m_pObject = m_object.Get();
    if (SUCCEEDED(m_hr))
        m_hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, hHost, &site.m_pagePos);
    if (SUCCEEDED(m_hr))
        m_hr = m_object.As(&m_browser);
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    if (SUCCEEDED(m_hr))
        m_hr = m_object.As(&container);
    if (SUCCEEDED(m_hr))
        m_hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_point);
    if (SUCCEEDED(m_hr))
        m_hr = m_point->Advise(static_cast<IDispatch*>(&sink), &m_cookie);
    sink.m_pBrowser = m_browser.Get();
}

CEmbedding::~CEmbedding()
{
    Release();
}

HWND CEmbedding::View() const
{
    SHANDLE_PTR hWnd = 0;
    if (!m_browser || FAILED(m_browser->get_HWND(&hWnd)))
        return nullptr;
    return reinterpret_cast<HWND>(hWnd);
}

HRESULT CEmbedding::Navigate(const std::wstring& url)
{
    VARIANT address;
    VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = SysAllocString(url.c_str());
    VARIANT empty;
    VariantInit(&empty);
    const HRESULT hr = m_browser->Navigate2(&address, &empty, &empty, &empty, &empty);
    VariantClear(&address);
    return hr;
}

void CEmbedding::Release()
{
    m_site.m_pObject = nullptr;
    if (m_point && m_cookie != 0)
        m_point->Unadvise(m_cookie);
    m_cookie = 0;
    m_point.Reset();
    m_sink.m_pBrowser = nullptr;
    m_browser.Reset();
    if (m_object)
    {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
    }
    m_object.Reset();
}

} // namespace PageHostTest
