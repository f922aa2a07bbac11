#pragma once

#include "TestControl.h"

namespace TestControls
{

// The class factory of one kind of test control. It lives as long as its
// DLL (a static object) and counts only its locks.
class CTestControlFactory final : public IClassFactory
{
  public:
    CTestControlFactory(const CLSID& clsid, CTestControl::EKind eKind, TTestControlState* pState);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHOD(LockServer)(BOOL fLock) override;

    const CLSID& GetClsid() const { return m_clsid; }

    // DllGetClassObject over a DLL's factories; DllCanUnloadNow over them
    // and the DLL's live objects.
    static HRESULT GetClassObject(CTestControlFactory* pFactories, int nFactories, REFCLSID rclsid,
                                  REFIID riid, void** ppv);
    static HRESULT CanUnloadNow(const CTestControlFactory* pFactories, int nFactories);

  private:
    CLSID m_clsid;
    CTestControl::EKind m_eKind;
    TTestControlState* m_pState;
    LONG m_nLocks;
};

} // namespace TestControls
