#pragma once

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/ScriptChannel.h"
#include "veneer/core/ComObject.h"

#include <activscp.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace PageHost
{

class CScriptGlobal;

// The engine's site: where its errors go (to the UI thread, as the page's
// script errors).
class CScriptSite final : public Veneer::CComObject<CScriptSite, Veneer::CPlainRefCount, IActiveScriptSite>,
                          private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IActiveScriptSite>(IID_IActiveScriptSite)};

    CScriptSite(std::shared_ptr<CScriptChannel> channel, CScriptGlobal* pGlobal);

    HRESULT STDMETHODCALLTYPE GetLCID(LCID* plcid) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR pstrName, DWORD dwReturnMask, IUnknown** ppiunkItem,
                                          ITypeInfo** ppti) override;
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* pbstrVersion) override;
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT* pvarResult,
                                                const EXCEPINFO* pexcepinfo) override;
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE ssScriptState) override;
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* pscripterror) override;
    HRESULT STDMETHODCALLTYPE OnEnterScript() override;
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override;

    // After the script thread was stopped: this object is never released.
    void Abandon() { Uncount(); }
    // Whether the last error report asked the scripts to stop.
    bool StopRequested() const { return m_bStopRequested; }

  private:
    ~CScriptSite() override;

    std::shared_ptr<CScriptChannel> m_channel;
    Veneer::CComPtrHolder<CScriptGlobal> m_global;
    bool m_bStopRequested = false;
};

// The named item "window", whose members are global in the page's script:
// external (the container's object, fetched on the UI thread), close(),
// alert() (does nothing), and the page's own globals (window.f() calls the
// page's function f).
class CScriptGlobal final
    : public Veneer::CComObject<CScriptGlobal, Veneer::CPlainRefCount, Veneer::CTypelessDispatch<IDispatch>>,
      private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch)};

    explicit CScriptGlobal(std::shared_ptr<CScriptChannel> channel);

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

    void SetEngine(IActiveScript* pEngine) { m_pEngine = pEngine; }
    void Abandon() { Uncount(); }

  private:
    ~CScriptGlobal() override = default;
    HRESULT FindPageGlobal(LPOLESTR pstrName, LCID lcid, DISPID* pId);
    // The engine's dispatch of the page's globals, or null.
    Veneer::CComPtrHolder<IDispatch> PageGlobals() const;

    std::shared_ptr<CScriptChannel> m_channel;
    IActiveScript* m_pEngine = nullptr; // not held: the engine holds this item
    // The page's globals found through window.name, by their engine ids.
    std::vector<DISPID> m_pageIds;
    bool m_bLookingUp = false;
};

// The JScript engine of one page, used on the script thread only.
class CScriptEngine
{
  public:
    explicit CScriptEngine(std::shared_ptr<CScriptChannel> channel);
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;
    ~CScriptEngine();

    HRESULT Start();
    HRESULT Run(const std::wstring& code, unsigned long line);
    void Close();
    bool StopRequested() const { return m_site && m_site->StopRequested(); }
    // After the script thread was stopped: the objects the dead engine
    // holds stop counting as live.
    void Abandon();

  private:
    std::shared_ptr<CScriptChannel> m_channel;
    Veneer::CComPtrHolder<IActiveScript> m_engine;
    Veneer::CComPtrHolder<IActiveScriptParse> m_parse;
    Veneer::CComPtrHolder<CScriptGlobal> m_global;
    Veneer::CComPtrHolder<CScriptSite> m_site;
};

} // namespace PageHost
