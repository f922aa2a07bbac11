#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/UiEvents.h"

#include <ole2.h>
#include <windows.h>

namespace Veneer
{

class CActiveXCtrl;

// A skin control that embeds one COM control: made from a class id, a
// program id or a module that exports DllGetClassObject, activated in place
// either in a child window of its own or windowless inside the skinned
// window, kept in step with the layout, and, when windowless, fed the
// mouse messages inside its hit area and the keys while it has the focus.
class VENEER_API CActiveXUI : public CControlUI, public IMessageFilterUI
{
    friend class CActiveXCtrl;

  public:
    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    HWND GetHostWindow() const;

    bool IsDelayCreate() const;
    void SetDelayCreate(bool bDelayCreate = true);

    // A text beginning with '{' is a class id, any other a program id.
    bool CreateControl(LPCWSTR pstrCLSID);
    bool CreateControl(const CLSID& clsid);
    // E_PENDING until the control exists.
    HRESULT GetControl(const IID& iid, LPVOID* ppRet);
    CLSID GetClisd() const;
    CUiString GetModuleName() const;
    void SetModuleName(LPCWSTR pstrText);

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

  protected:
    virtual void ReleaseControl();
    virtual bool DoCreateControl();

    CLSID m_clsid;
    CUiString m_sModuleName;
    bool m_bCreated;
    bool m_bDelayCreate;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;

  private:
    IUnknown* CreateObject();
    IUnknown* CreateFromModule();
    void FreeModuleIfUnused();
    bool ActivateObject(IOleClientSite* pClientSite, DWORD dwMiscStatus);
    void AddWindowlessFilter();
    void RemoveWindowlessFilter();
    void UpdateExtent();
    void ShowHostWindow();
    bool IsWindowlessActive() const;
    LRESULT RouteToWindowless(UINT uMsg, WPARAM wParam, LPARAM lParam, bool bReportHandled, bool& bHandled);
    bool HitsWindowless(UINT uMsg, LPARAM lParam) const;

    // The module the control came from, kept loaded while the control
    // lives; the manager whose message filters hold this control.
    HMODULE m_hModule;
    CPaintManagerUI* m_pFilterManager;
};

} // namespace Veneer
