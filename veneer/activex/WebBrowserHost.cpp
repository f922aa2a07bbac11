// The COM side of CWebBrowserUI: the browser's events and the document
// host's questions, each forwarded to the application's handler.
#include "veneer/activex/BrowserGuids.h"
#include "veneer/activex/WebBrowserUI.h"

#include <exdispid.h>
#include <mshtml.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace Veneer
{

namespace
{

template <typename T> HRESULT Answer(T* pInterface, LPVOID* ppvObject)
{
    *ppvObject = pInterface;
    pInterface->AddRef();
    return S_OK;
}

// The argument types each dispatched event arrives with, element 0 (the
// last argument) first. Events come from outside: one that does not have
// this shape reaches no handler.
struct TEventShape
{
    DISPID dispid;
    UINT cArgs;
    VARTYPE vt[7];
};

constexpr VARTYPE kVariantRef = VT_VARIANT | VT_BYREF;
constexpr VARTYPE kBoolRef = VT_BOOL | VT_BYREF;

constexpr TEventShape kEventShapes[] = {
    {DISPID_COMMANDSTATECHANGE, 2, {VT_BOOL, VT_I4}},
    {DISPID_BEFORENAVIGATE2,
     7,
     {kBoolRef, kVariantRef, kVariantRef, kVariantRef, kVariantRef, kVariantRef, VT_DISPATCH}},
    {DISPID_NAVIGATECOMPLETE2, 2, {kVariantRef, VT_DISPATCH}},
    {DISPID_DOCUMENTCOMPLETE, 2, {kVariantRef, VT_DISPATCH}},
    {DISPID_NAVIGATEERROR, 5, {kBoolRef, kVariantRef, kVariantRef, kVariantRef, VT_DISPATCH}},
    {DISPID_NEWWINDOW3, 5, {VT_BSTR, VT_BSTR, VT_I4, kBoolRef, VT_DISPATCH | VT_BYREF}},
};

// Flags are a DWORD: the browser may send them signed or unsigned.
bool HasType(const VARIANT& arg, VARTYPE vtWanted)
{
    const VARTYPE vt = V_VT(&arg);
    if (vtWanted == VT_I4 && vt == VT_UI4)
        return true;
    if (vt != vtWanted)
        return false;
    return (vt & VT_BYREF) == 0 || V_BYREF(&arg) != nullptr;
}

HRESULT CheckEventShape(DISPID dispid, const DISPPARAMS* pDispParams)
{
    for (const TEventShape& shape : kEventShapes)
    {
        if (shape.dispid != dispid)
            continue;
        if (pDispParams == nullptr || pDispParams->cArgs != shape.cArgs || pDispParams->rgvarg == nullptr)
            return DISP_E_BADPARAMCOUNT;
        for (UINT i = 0; i < shape.cArgs; i++)
        {
            if (!HasType(pDispParams->rgvarg[i], shape.vt[i]))
                return DISP_E_TYPEMISMATCH;
        }
        return S_OK;
    }
    return S_OK;
}

} // namespace

// One identity for every part: the UI handler.
STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler)
        return Answer(static_cast<IDocHostUIHandler*>(this), ppvObject);
    if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2)
        return Answer(static_cast<IDispatch*>(this), ppvObject);
    if (riid == IID_IServiceProvider)
        return Answer(static_cast<IServiceProvider*>(this), ppvObject);
    if (riid == IID_IOleCommandTarget)
        return Answer(static_cast<IOleCommandTarget*>(this), ppvObject);
    if (riid == kIID_IDownloadManager)
        return Answer(static_cast<IDownloadManager*>(this), ppvObject);
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    return static_cast<ULONG>(--m_dwRef);
}

// IDispatch

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != nullptr)
        *pctinfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/,
                                          LCID /*lcid*/, DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID /*lcid*/, WORD /*wFlags*/,
                                   DISPPARAMS* pDispParams, VARIANT* /*pVarResult*/,
                                   EXCEPINFO* /*pExcepInfo*/, UINT* /*puArgErr*/)
{
    if (riid != IID_NULL)
        return E_INVALIDARG;
    const HRESULT hr = CheckEventShape(dispIdMember, pDispParams);
    if (FAILED(hr))
        return hr;
    return DispatchEvent(dispIdMember, pDispParams);
}

// Arguments arrive reversed: element 0 is the event's last argument.
HRESULT CWebBrowserUI::DispatchEvent(DISPID dispIdMember, DISPPARAMS* pDispParams)
{
    CWebBrowserEventHandler* pHandler = m_pWebBrowserEventHandler;
    VARIANTARG* arg = pDispParams != nullptr ? pDispParams->rgvarg : nullptr;
    switch (dispIdMember)
    {
    case DISPID_STATUSTEXTCHANGE:
        return S_OK;
    case DISPID_COMMANDSTATECHANGE:
        if (pHandler != nullptr)
            pHandler->CommandStateChange(V_I4(&arg[1]), V_BOOL(&arg[0]));
        return S_OK;
    case DISPID_BEFORENAVIGATE2:
        if (pHandler != nullptr)
            pHandler->BeforeNavigate2(V_DISPATCH(&arg[6]), V_VARIANTREF(&arg[5]), V_VARIANTREF(&arg[4]),
                                      V_VARIANTREF(&arg[3]), V_VARIANTREF(&arg[2]), V_VARIANTREF(&arg[1]),
                                      V_BOOLREF(&arg[0]));
        return S_OK;
    case DISPID_NAVIGATECOMPLETE2:
        OnNavigateComplete2(V_DISPATCH(&arg[1]), V_VARIANTREF(&arg[0]));
        return S_OK;
    case DISPID_DOCUMENTCOMPLETE:
        if (pHandler != nullptr)
            pHandler->DocumentComplete(V_DISPATCH(&arg[1]), V_VARIANTREF(&arg[0]));
        return S_OK;
    case DISPID_NAVIGATEERROR:
        if (pHandler != nullptr)
            pHandler->NavigateError(V_DISPATCH(&arg[4]), V_VARIANTREF(&arg[3]), V_VARIANTREF(&arg[2]),
                                    V_VARIANTREF(&arg[1]), V_BOOLREF(&arg[0]));
        return S_OK;
    case DISPID_NEWWINDOW3:
        if (pHandler != nullptr)
            pHandler->NewWindow3(V_DISPATCHREF(&arg[4]), V_BOOLREF(&arg[3]), V_UI4(&arg[2]), V_BSTR(&arg[1]),
                                 V_BSTR(&arg[0]));
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// Every new document gets this control as its UI handler again, so that
// the host questions of each page reach the application; the handler hears
// of the document, not of the frame that fired the event.
void CWebBrowserUI::OnNavigateComplete2(IDispatch* /*pDisp*/, VARIANT* url)
{
    ComPtr<IDispatch> pDocument;
    if (m_pWebBrowser2 != nullptr)
        m_pWebBrowser2->get_Document(&pDocument);
    InstallUIHandler(pDocument.Get());
    if (m_pWebBrowserEventHandler != nullptr)
        m_pWebBrowserEventHandler->NavigateComplete2(pDocument.Get(), url);
}

void CWebBrowserUI::InstallUIHandler(IDispatch* pDocument)
{
    if (pDocument == nullptr)
        return;
    ComPtr<ICustomDoc> pCustomDoc;
    if (SUCCEEDED(
            pDocument->QueryInterface(kIID_ICustomDoc, reinterpret_cast<LPVOID*>(pCustomDoc.GetAddressOf()))))
        pCustomDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
}

// IDocHostUIHandler: the handler's answer, or the browser's own behaviour
// when there is no handler.

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                            IDispatch* pDispatchObjectHit)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_FALSE;
    return m_pWebBrowserEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return E_NOTIMPL;
    return m_pWebBrowserEventHandler->GetHostInfo(pInfo);
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_OK;
    return m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_OK;
    return m_pWebBrowserEventHandler->HideUI();
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_OK;
    return m_pWebBrowserEventHandler->UpdateUI();
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return E_NOTIMPL;
    return m_pWebBrowserEventHandler->EnableModeless(fEnable);
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return E_NOTIMPL;
    return m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate);
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return E_NOTIMPL;
    return m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate);
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return E_NOTIMPL;
    return m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_FALSE;
    return m_pWebBrowserEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dwReserved);
    if (pchKey != nullptr)
        *pchKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget);
    if (ppDropTarget != nullptr)
        *ppDropTarget = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetExternal(ppDispatch);
    if (ppDispatch != nullptr)
        *ppDispatch = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    if (ppchURLOut != nullptr)
        *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    if (ppDORet != nullptr)
        *ppDORet = nullptr;
    return E_NOTIMPL;
}

// IServiceProvider: only the download manager is offered.
STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (guidService != kIID_IDownloadManager || riid != kIID_IDownloadManager)
        return E_NOINTERFACE;
    return Answer(static_cast<IDownloadManager*>(this), ppvObject);
}

STDMETHODIMP CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                     BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    if (m_pWebBrowserEventHandler == nullptr)
        return S_OK;
    return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders,
                                               pszRedir, uiCP);
}

// IOleCommandTarget

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID* /*pguidCmdGroup*/, ULONG /*cCmds*/, OLECMD* /*prgCmds*/,
                                        OLECMDTEXT* /*pCmdText*/)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

// A script error of the page is read and let pass: the page's scripts go
// on and the browser shows no dialog. The answer is S_OK whatever could be
// read, since a failed answer makes the browser show its own dialog.
STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD /*nCmdexecopt*/,
                                 VARIANT* pvaIn, VARIANT* pvaOut)
{
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != kCGID_DocHostCommandHandler)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    ReadScriptError(pvaIn);
    if (pvaOut != nullptr)
    {
        ::VariantClear(pvaOut);
        V_VT(pvaOut) = VT_BOOL;
        V_BOOL(pvaOut) = VARIANT_TRUE;
    }
    return S_OK;
}

// The error's properties on the event object of the document's window.
void CWebBrowserUI::ReadScriptError(VARIANT* pvaIn)
{
    if (pvaIn == nullptr || (V_VT(pvaIn) != VT_UNKNOWN && V_VT(pvaIn) != VT_DISPATCH) ||
        V_UNKNOWN(pvaIn) == nullptr)
        return;
    ComPtr<IHTMLDocument2> pDocument;
    ComPtr<IHTMLWindow2> pWindow;
    ComPtr<IHTMLEventObj> pEvent;
    ComPtr<IDispatch> pEventDispatch;
    if (FAILED(V_UNKNOWN(pvaIn)->QueryInterface(IID_PPV_ARGS(&pDocument))) ||
        FAILED(pDocument->get_parentWindow(&pWindow)) || !pWindow || FAILED(pWindow->get_event(&pEvent)) ||
        !pEvent || FAILED(pEvent.As(&pEventDispatch)))
        return;
    static const wchar_t* const kErrorProperties[] = {L"errorLine", L"errorCharacter", L"errorCode",
                                                      L"errorMessage", L"errorUrl"};
    for (const wchar_t* pstrName : kErrorProperties)
    {
        VARIANT value;
        ::VariantInit(&value);
        GetProperty(pEventDispatch.Get(), const_cast<LPOLESTR>(pstrName), &value);
        ::VariantClear(&value);
    }
}

} // namespace Veneer
