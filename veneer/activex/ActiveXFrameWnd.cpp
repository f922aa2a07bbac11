#include "veneer/activex/ActiveXFrameWnd.h"

#include "veneer/activex/ActiveXCtrl.h"

namespace Veneer
{

namespace
{

// INPLACE_E_NOTOOLBARS, which mingw's headers lack: no tool bar space at all.
constexpr HRESULT kNoToolbars = static_cast<HRESULT>(0x800401A1L);

} // namespace

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* pSite) : m_dwRef(1), m_pSite(pSite), m_pActiveObject(nullptr)
{
    if (m_pSite != nullptr)
        m_pSite->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != nullptr)
        m_pActiveObject->Release();
    if (m_pSite != nullptr)
        m_pSite->Release();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IOleWindow && riid != IID_IOleInPlaceUIWindow &&
        riid != IID_IOleInPlaceFrame)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    const LONG lRef = --m_dwRef;
    if (lRef == 0)
        delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = nullptr;
    if (m_pSite == nullptr || m_pSite->GetOwner() == nullptr)
        return E_UNEXPECTED;
    *phwnd = m_pSite->GetPaintWindow();
    return *phwnd != nullptr ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

// The frame has no tool bars, so all of its client area counts as the
// border space a control could ask for.
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT lprectBorder)
{
    if (lprectBorder == nullptr)
        return E_POINTER;
    *lprectBorder = RECT{};
    HWND hWnd = nullptr;
    if (SUCCEEDED(GetWindow(&hWnd)))
        ::GetClientRect(hWnd, lprectBorder);
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return kNoToolbars;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
                                               LPCOLESTR /*pszObjName*/)
{
    if (pActiveObject != nullptr)
        pActiveObject->AddRef();
    if (m_pActiveObject != nullptr)
        m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU /*hmenuShared*/, LPOLEMENUGROUPWIDTHS /*lpMenuWidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU /*hmenuShared*/, HOLEMENU /*holemenu*/,
                                       HWND /*hwndActiveObject*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU /*hmenuShared*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR /*pszStatusText*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG /*lpMsg*/, WORD /*wID*/)
{
    return S_FALSE;
}

} // namespace Veneer
