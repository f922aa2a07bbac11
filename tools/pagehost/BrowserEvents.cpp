#include "tools/pagehost/BrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

namespace PageHost
{

namespace
{

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

void Number(VARIANT& arg, long value)
{
    VariantInit(&arg);
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = value;
}

} // namespace

CBrowserEvents::CBrowserEvents(IConnectionPointContainer* pContainer) : m_pContainer(pContainer) {}

CBrowserEvents::~CBrowserEvents()
{
    Detach();
}

// A sink may call back while it is released: the list is emptied first.
void CBrowserEvents::Detach()
{
    m_pContainer = nullptr;
    CSinks sinks;
    sinks.swap(m_sinks);
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::GetConnectionInterface(IID* pIID)
{
    return Veneer::AnswerValue(DIID_DWebBrowserEvents2, pIID);
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    return Veneer::AnswerInterface(m_pContainer, ppCPC, E_UNEXPECTED);
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (pUnkSink == nullptr || pdwCookie == nullptr)
        return E_POINTER;
    *pdwCookie = 0;
    Veneer::CComPtrHolder<IDispatch> sink;
    if (FAILED(pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, sink.OutAsVoid())) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, sink.OutAsVoid())))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = m_nextCookie++;
    m_sinks.emplace_back(*pdwCookie, std::move(sink));
    return S_OK;
}

// The sink is released after it left the list, in case it calls back.
HRESULT STDMETHODCALLTYPE CBrowserEvents::Unadvise(DWORD dwCookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
    {
        if (it->first == dwCookie)
        {
            const Veneer::CComPtrHolder<IDispatch> sink = std::move(it->second);
            m_sinks.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE CBrowserEvents::EnumConnections(IEnumConnections** ppEnum)
{
    return Veneer::AnswerNothing(ppEnum, E_NOTIMPL);
}

// A sink may unadvise, or release the browser, from inside its handler:
// the event goes to the sinks connected when it started, each held (as
// this connection point is) until the event has been to all of them.
void CBrowserEvents::Fire(DISPID id, VARIANT* pArgs, UINT count)
{
    const Veneer::CComPtrHolder<IConnectionPoint> keepAlive(this);
    std::vector<Veneer::CComPtrHolder<IDispatch>> sinks;
    for (const auto& sink : m_sinks)
        sinks.push_back(sink.second);
    DISPPARAMS params{pArgs, nullptr, count, 0};
    for (const auto& sink : sinks)
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

bool CBrowserEvents::BeforeNavigate2(IDispatch* pBrowser, const std::wstring& url, long flags,
                                     const std::wstring& frame, const std::wstring& headers)
{
    Veneer::CScopedVariant urlValue(url);
    VARIANT flagsValue;
    Number(flagsValue, flags);
    Veneer::CScopedVariant frameValue(frame);
    Veneer::CScopedVariant postData;
    Veneer::CScopedVariant headersValue(headers);
    VARIANT_BOOL cancel = VARIANT_FALSE;

    VARIANT args[7];
    CancelFlag(args[0], &cancel);
    ByRef(args[1], headersValue.Get());
    ByRef(args[2], postData.Get());
    ByRef(args[3], frameValue.Get());
    ByRef(args[4], &flagsValue);
    ByRef(args[5], urlValue.Get());
    Dispatch(args[6], pBrowser);
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    return cancel != VARIANT_FALSE;
}

void CBrowserEvents::NavigateComplete2(IDispatch* pBrowser, const std::wstring& url)
{
    FireAddressEvent(DISPID_NAVIGATECOMPLETE2, pBrowser, url);
}

void CBrowserEvents::DocumentComplete(IDispatch* pBrowser, const std::wstring& url)
{
    FireAddressEvent(DISPID_DOCUMENTCOMPLETE, pBrowser, url);
}

void CBrowserEvents::FireAddressEvent(DISPID id, IDispatch* pBrowser, const std::wstring& url)
{
    Veneer::CScopedVariant urlValue(url);
    VARIANT args[2];
    ByRef(args[0], urlValue.Get());
    Dispatch(args[1], pBrowser);
    Fire(id, args, 2);
}

bool CBrowserEvents::NavigateError(IDispatch* pBrowser, const std::wstring& url, const std::wstring& frame,
                                   long status)
{
    Veneer::CScopedVariant urlValue(url);
    Veneer::CScopedVariant frameValue(frame);
    VARIANT statusValue;
    Number(statusValue, status);
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
