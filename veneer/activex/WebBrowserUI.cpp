#include "veneer/activex/WebBrowserUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/core/ComObject.h"

#include <mshtml.h>
#include <wrl/client.h>

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace Veneer
{

namespace
{

bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= WM_KEYFIRST && uMsg < WM_UNICHAR;
}

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_pWebBrowser2(nullptr), m_dwCookie(0), m_pHtmlWnd2(nullptr), m_dwRef(0), m_bAutoNavi(false),
      m_pWebBrowserEventHandler(nullptr), m_pAcceleratorManager(nullptr)
{
    m_clsid = CLSID_WebBrowser;
}

CWebBrowserUI::~CWebBrowserUI()
{
    CWebBrowserUI::ReleaseControl();
}

LPCWSTR CWebBrowserUI::GetClass() const
{
    return L"WebBrowserUI";
}

LPVOID CWebBrowserUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"WebBrowser") == 0)
        return static_cast<CWebBrowserUI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

namespace
{

const TAttributeHandler<CWebBrowserUI> kWebBrowserAttributes[] = {
    {L"homepage", [](CWebBrowserUI& c, LPCWSTR v) { c.SetHomePage(v); }},
    {L"autonavi", [](CWebBrowserUI& c, LPCWSTR v) { c.SetAutoNavigation(ParseAttributeBool(v)); }},
};

} // namespace

void CWebBrowserUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kWebBrowserAttributes, *this, pstrName, pstrValue))
        CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CWebBrowserUI::SetHomePage(LPCWSTR lpszUrl)
{
    m_sHomePage = lpszUrl != nullptr ? lpszUrl : L"";
}

LPCWSTR CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

// A handler once given stays: null does not remove it.
void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler)
{
    if (pEventHandler != nullptr && pEventHandler != m_pWebBrowserEventHandler)
        m_pWebBrowserEventHandler = pEventHandler;
}

void CWebBrowserUI::Navigate2(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || m_pWebBrowser2 == nullptr)
        return;
    VARIANT url;
    ::VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = ::SysAllocString(lpszUrl);
    VARIANT none;
    ::VariantInit(&none);
    m_pWebBrowser2->Navigate2(&url, &none, &none, &none, &none);
    ::VariantClear(&url);
}

void CWebBrowserUI::NavigateUrl(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || m_pWebBrowser2 == nullptr)
        return;
    const CScopedBstr url(lpszUrl);
    m_pWebBrowser2->Navigate(url.Get(), nullptr, nullptr, nullptr, nullptr);
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty())
        NavigateUrl(m_sHomePage);
}

void CWebBrowserUI::Refresh()
{
    if (m_pWebBrowser2 != nullptr)
        m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int level)
{
    if (m_pWebBrowser2 == nullptr)
        return;
    VARIANT vLevel;
    ::VariantInit(&vLevel);
    V_VT(&vLevel) = VT_I4;
    V_I4(&vLevel) = level;
    m_pWebBrowser2->Refresh2(&vLevel);
}

void CWebBrowserUI::GoBack()
{
    if (m_pWebBrowser2 != nullptr)
        m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward()
{
    if (m_pWebBrowser2 != nullptr)
        m_pWebBrowser2->GoForward();
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2()
{
    return m_pWebBrowser2;
}

IDispatch* CWebBrowserUI::GetHtmlWindow()
{
    if (m_pWebBrowser2 == nullptr)
        return nullptr;
    ComPtr<IDispatch> pDocument;
    if (FAILED(m_pWebBrowser2->get_Document(&pDocument)) || !pDocument)
        return nullptr;
    ComPtr<IHTMLDocument2> pHtmlDocument;
    ComPtr<IHTMLWindow2> pWindow;
    if (FAILED(pDocument.As(&pHtmlDocument)) || FAILED(pHtmlDocument->get_parentWindow(&pWindow)) || !pWindow)
        return nullptr;
    IDispatch* pDispatch = nullptr;
    if (FAILED(pWindow->QueryInterface(IID_PPV_ARGS(&pDispatch))))
        return nullptr;
    // The cache keeps its own reference; the caller gets another.
    if (m_pHtmlWnd2 != nullptr)
        m_pHtmlWnd2->Release();
    m_pHtmlWnd2 = pDispatch;
    pDispatch->AddRef();
    return pDispatch;
}

bool CWebBrowserUI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl())
        return false;
    if (m_pManager != nullptr && m_pManager->AddTranslateAccelerator(this))
        m_pAcceleratorManager = m_pManager;
    GetControl(IID_IWebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    if (m_bAutoNavi && !m_sHomePage.IsEmpty())
        Navigate2(m_sHomePage);
    RegisterEventHandler(TRUE);
    return true;
}

// The browser's references to this object go before the browser itself:
// its events are disconnected and its interfaces released, then the host
// closes and releases the control.
void CWebBrowserUI::ReleaseControl()
{
    m_bCreated = false;
    if (m_pAcceleratorManager != nullptr)
        m_pAcceleratorManager->RemoveTranslateAccelerator(this);
    m_pAcceleratorManager = nullptr;
    RegisterEventHandler(FALSE);
    if (m_pHtmlWnd2 != nullptr)
        m_pHtmlWnd2->Release();
    m_pHtmlWnd2 = nullptr;
    if (m_pWebBrowser2 != nullptr)
        m_pWebBrowser2->Release();
    m_pWebBrowser2 = nullptr;
    CActiveXUI::ReleaseControl();
}

HRESULT CWebBrowserUI::RegisterEventHandler(BOOL inAdvise)
{
    ComPtr<IWebBrowser2> pWebBrowser;
    HRESULT hr = GetControl(IID_IWebBrowser2, reinterpret_cast<LPVOID*>(pWebBrowser.GetAddressOf()));
    ComPtr<IConnectionPointContainer> pContainer;
    if (SUCCEEDED(hr))
        hr = pWebBrowser.As(&pContainer);
    ComPtr<IConnectionPoint> pPoint;
    if (SUCCEEDED(hr))
        hr = pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, &pPoint);
    if (FAILED(hr))
        return hr;
    if (inAdvise)
        return pPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (m_dwCookie == 0)
        return S_FALSE;
    hr = pPoint->Unadvise(m_dwCookie);
    m_dwCookie = 0;
    return hr;
}

// Keys (and the wheel) while the focus is inside the browser go to the
// browser's own accelerators first.
LRESULT CWebBrowserUI::TranslateAccelerator(MSG* pMsg)
{
    if (pMsg == nullptr || (!IsKeyMessage(pMsg->message) && pMsg->message != WM_MOUSEWHEEL))
        return S_FALSE;
    if (m_pWebBrowser2 == nullptr)
        return E_NOTIMPL;
    bool bInBrowser = false;
    for (HWND hWnd = ::GetFocus(); hWnd != nullptr && !bInBrowser; hWnd = ::GetParent(hWnd))
        bInBrowser = hWnd == m_hwndHost;
    if (!bInBrowser)
        return S_FALSE;
    ComPtr<IOleInPlaceActiveObject> pActiveObject;
    if (FAILED(m_pWebBrowser2->QueryInterface(IID_PPV_ARGS(&pActiveObject))))
        return S_FALSE;
    return pActiveObject->TranslateAccelerator(pMsg);
}

DISPID CWebBrowserUI::FindId(IDispatch* pObj, LPOLESTR pName)
{
    if (pObj == nullptr || pName == nullptr)
        return -1;
    DISPID id = -1;
    if (FAILED(pObj->GetIDsOfNames(IID_NULL, &pName, 1, LOCALE_SYSTEM_DEFAULT, &id)))
        id = -1;
    return id;
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult, VARIANT* ps,
                                    int cArgs)
{
    const DISPID dispid = FindId(pObj, pMethod);
    if (dispid == -1 || cArgs < 0 || (cArgs > 0 && ps == nullptr))
        return E_FAIL;
    DISPPARAMS dispparams{ps, nullptr, static_cast<UINT>(cArgs), 0};
    return pObj->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &dispparams, pVarResult,
                        nullptr, nullptr);
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    const DISPID dispid = FindId(pObj, pName);
    if (dispid == -1)
        return E_FAIL;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return pObj->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, pValue, nullptr,
                        nullptr);
}

// A property put names its one argument DISPID_PROPERTYPUT: automation
// objects refuse a put without it.
HRESULT CWebBrowserUI::SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    const DISPID dispid = FindId(pObj, pName);
    if (dispid == -1 || pValue == nullptr)
        return E_FAIL;
    DISPID dispidPut = DISPID_PROPERTYPUT;
    DISPPARAMS dispparams{pValue, &dispidPut, 1, 1};
    return pObj->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYPUT, &dispparams, nullptr,
                        nullptr, nullptr);
}

} // namespace Veneer
