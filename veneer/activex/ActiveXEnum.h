#pragma once

#include <objidl.h>
#include <windows.h>

namespace Veneer
{

// Enumerates the one control of a site's container: the first Next hands
// it out, every later one finds nothing until Reset.
class CActiveXEnum final : public IEnumUnknown
{
  public:
    explicit CActiveXEnum(IUnknown* pUnk);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IEnumUnknown
    STDMETHOD(Next)(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** ppenum) override;

  private:
    ~CActiveXEnum();

    LONG m_dwRef;
    ULONG m_iPos;
    IUnknown* m_pUnk;
};

} // namespace Veneer
