#include "tools/pagehost/BrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

namespace PageHost
{

namespace
{

// A VARIANT holding text, freed at the end of the scope.
class CTextVariant
{
  public:
    explicit CTextVariant(const std::wstring& text)
    {
        VariantInit(&m_value);
        V_VT(&m_value) = VT_BSTR;
        V_BSTR(&m_value) = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    }
    CTextVariant(const CTextVariant&) = delete;
    CTextVariant& operator=(const CTextVariant&) = delete;
    ~CTextVariant() { VariantClear(&m_value); }
    VARIANT* Get() { return &m_value; }

  private:
    VARIANT m_value;
};

void ByRef(VARIANT& arg, VARIANT* pValue)
{
    VariantInit(&arg);
    V_VT(&arg) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&arg) = pValue;
}

void Dispatch(VARIANT& arg, IDispatch* pDispatch)
{
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = pDispatch;
}

void CancelFlag(VARIANT& arg, VARIANT_BOOL* pCancel)
{
    VariantInit(&arg);
    V_VT(&arg) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&arg) = pCancel;
}

} // namespace

CBrowserEvents::CBrowserEvents(IConnectionPointContainer* pContainer) : m_pContainer(pContainer) {}

CBrowserEvents::~CBrowserEvents()
{
    Detach();
}

void CBrowserEvents::Detach()
{
    m_pContainer = nullptr;
    std::vector<std::pair<DWORD, IDispatch*>> sinks;
    sinks.swap(m_sinks);
    for (auto& sink : sinks)
        sink.second->Release();
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CBrowserEvents::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CBrowserEvents::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::GetConnectionInterface(IID* pIID)
{
    if (pIID == nullptr)
        return E_POINTER;
    *pIID = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (ppCPC == nullptr)
        return E_POINTER;
    *ppCPC = m_pContainer;
    if (m_pContainer == nullptr)
        return E_UNEXPECTED;
    m_pContainer->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (pUnkSink == nullptr || pdwCookie == nullptr)
        return E_POINTER;
    *pdwCookie = 0;
    IDispatch* pSink = nullptr;
    if (FAILED(pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&pSink))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink))))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = m_nextCookie++;
    m_sinks.emplace_back(*pdwCookie, pSink);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::Unadvise(DWORD dwCookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
    {
        if (it->first == dwCookie)
        {
            IDispatch* pSink = it->second;
            m_sinks.erase(it);
            pSink->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::EnumConnections(IEnumConnections** ppEnum)
{
    if (ppEnum != nullptr)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

// A sink may unadvise, or release the browser, from inside its handler:
// the event goes to the sinks connected when it started, each held for the
// call.
void CBrowserEvents::Fire(DISPID id, VARIANT* pArgs, UINT count)
{
    std::vector<IDispatch*> sinks;
    for (auto& sink : m_sinks)
    {
        sink.second->AddRef();
        sinks.push_back(sink.second);
    }
    AddRef();
    DISPPARAMS params{pArgs, nullptr, count, 0};
    for (IDispatch* pSink : sinks)
    {
        pSink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        pSink->Release();
    }
    Release();
}

bool CBrowserEvents::BeforeNavigate2(IDispatch* pBrowser, const std::wstring& url, long flags,
                                     const std::wstring& frame, const std::wstring& headers)
{
    CTextVariant urlValue(url);
    VARIANT flagsValue;
    VariantInit(&flagsValue);
    V_VT(&flagsValue) = VT_I4;
    V_I4(&flagsValue) = flags;
    CTextVariant frameValue(frame);
    VARIANT postData;
    VariantInit(&postData);
    CTextVariant headersValue(headers);
    VARIANT_BOOL cancel = VARIANT_FALSE;

    VARIANT args[7];
    CancelFlag(args[0], &cancel);
    ByRef(args[1], headersValue.Get());
    ByRef(args[2], &postData);
    ByRef(args[3], frameValue.Get());
    ByRef(args[4], &flagsValue);
    ByRef(args[5], urlValue.Get());
    Dispatch(args[6], pBrowser);
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    return cancel != VARIANT_FALSE;
}

void CBrowserEvents::NavigateComplete2(IDispatch* pBrowser, const std::wstring& url)
{
    CTextVariant urlValue(url);
    VARIANT args[2];
    ByRef(args[0], urlValue.Get());
    Dispatch(args[1], pBrowser);
    Fire(DISPID_NAVIGATECOMPLETE2, args, 2);
}

void CBrowserEvents::DocumentComplete(IDispatch* pBrowser, const std::wstring& url)
{
    CTextVariant urlValue(url);
    VARIANT args[2];
    ByRef(args[0], urlValue.Get());
    Dispatch(args[1], pBrowser);
    Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
}

bool CBrowserEvents::NavigateError(IDispatch* pBrowser, const std::wstring& url, const std::wstring& frame,
                                   long status)
{
    CTextVariant urlValue(url);
    CTextVariant frameValue(frame);
    VARIANT statusValue;
    VariantInit(&statusValue);
    V_VT(&statusValue) = VT_I4;
    V_I4(&statusValue) = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;

    VARIANT args[5];
    CancelFlag(args[0], &cancel);
    ByRef(args[1], &statusValue);
    ByRef(args[2], frameValue.Get());
    ByRef(args[3], urlValue.Get());
    Dispatch(args[4], pBrowser);
    Fire(DISPID_NAVIGATEERROR, args, 5);
    return cancel != VARIANT_FALSE;
}

// window.close() from the page: (IsChildWindow, Cancel).
bool CBrowserEvents::WindowClosing()
{
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[2];
    CancelFlag(args[0], &cancel);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_BOOL;
    V_BOOL(&args[1]) = VARIANT_FALSE;
    Fire(DISPID_WINDOWCLOSING, args, 2);
    return cancel != VARIANT_FALSE;
}

} // namespace PageHost
