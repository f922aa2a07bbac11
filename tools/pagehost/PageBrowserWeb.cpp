// The browser's navigation interface (IWebBrowser2).
#include "tools/pagehost/PageBrowser.h"

#include "tools/pagehost/PageDocument.h"

namespace PageHost
{

namespace
{

// The text of a navigation argument: a BSTR, or a BSTR or variant by
// reference, as hosts pass them.
bool TextOf(const VARIANT* pValue, std::wstring& text)
{
    text.clear();
    if (pValue == nullptr)
        return false;
    if (V_VT(pValue) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(pValue) != nullptr)
        return TextOf(V_VARIANTREF(pValue), text);
    BSTR value = nullptr;
    if (V_VT(pValue) == VT_BSTR)
        value = V_BSTR(pValue);
    else if (V_VT(pValue) == (VT_BSTR | VT_BYREF) && V_BSTRREF(pValue) != nullptr)
        value = *V_BSTRREF(pValue);
    else
        return false;
    if (value != nullptr)
        text.assign(value, SysStringLen(value));
    return true;
}

long FlagsOf(const VARIANT* pValue)
{
    VARIANT number;
    VariantInit(&number);
    if (pValue == nullptr || FAILED(VariantChangeType(&number, const_cast<VARIANT*>(pValue), 0, VT_I4)))
        return 0;
    return V_I4(&number);
}

} // namespace

HRESULT STDMETHODCALLTYPE CPageBrowser::Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                                 VARIANT* PostData, VARIANT* Headers)
{
    if (URL == nullptr)
        return E_INVALIDARG;
    VARIANT url;
    VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = URL;
    return Navigate2(&url, Flags, TargetFrameName, PostData, Headers);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                                  VARIANT*, VARIANT* Headers)
{
    CRequest request;
    if (!TextOf(URL, request.url))
        return E_INVALIDARG;
    request.flags = FlagsOf(Flags);
    TextOf(TargetFrameName, request.frame);
    TextOf(Headers, request.headers);
    return Queue(request);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GoBack()
{
    if (m_historyPos == 0 || m_history.empty())
        return E_FAIL;
    CRequest request;
    request.url = m_history[m_historyPos - 1];
    request.historyStep = -1;
    return Queue(request);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GoForward()
{
    if (m_historyPos + 1 >= m_history.size())
        return E_FAIL;
    CRequest request;
    request.url = m_history[m_historyPos + 1];
    request.historyStep = 1;
    return Queue(request);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Refresh()
{
    ReloadCurrent();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Refresh2(VARIANT*)
{
    return Refresh();
}

// Ends a navigation in progress (at its next step) and drops those queued.
HRESULT STDMETHODCALLTYPE CPageBrowser::Stop()
{
    ++m_generation;
    m_pending.clear();
    if (m_readyState == READYSTATE_LOADING)
        m_readyState = m_document ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_Application(IDispatch** ppDisp)
{
    return Veneer::AnswerInterface(Self(), ppDisp);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_Document(IDispatch** ppDisp)
{
    return Veneer::AnswerInterface<IDispatch>(m_document.Get(), ppDisp);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_LocationName(BSTR* LocationName)
{
    return Veneer::AnswerText(m_content ? m_content->title : std::wstring(), LocationName);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_LocationURL(BSTR* LocationURL)
{
    return Veneer::AnswerText(m_location, LocationURL);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_Busy(VARIANT_BOOL* pBool)
{
    return Veneer::AnswerValue(Veneer::ToVariantBool(m_bNavigating || !m_pending.empty()), pBool);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_ReadyState(READYSTATE* plReadyState)
{
    return Veneer::AnswerValue(m_readyState, plReadyState);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_HWND(SHANDLE_PTR* pHWND)
{
    if (pHWND == nullptr)
        return E_POINTER;
    *pHWND = m_view ? reinterpret_cast<SHANDLE_PTR>(m_view->GetHWND()) : 0;
    return m_view ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_Visible(VARIANT_BOOL* pBool)
{
    return Veneer::AnswerValue(Veneer::ToVariantBool(m_bVisible), pBool);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::put_Visible(VARIANT_BOOL Value)
{
    m_bVisible = Value != VARIANT_FALSE;
    if (m_view)
        ShowWindow(m_view->GetHWND(), m_bVisible ? SW_SHOW : SW_HIDE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::get_Silent(VARIANT_BOOL* pbSilent)
{
    return Veneer::AnswerValue(Veneer::ToVariantBool(m_bSilent), pbSilent);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::put_Silent(VARIANT_BOOL bSilent)
{
    m_bSilent = bSilent != VARIANT_FALSE;
    return S_OK;
}

} // namespace PageHost
