#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/ZipArchive.h"

#include <windows.h>

namespace Veneer
{

// The hub of one skinned native window. The resource settings below are
// process-wide: every window of the process shares them.
class VENEER_API CPaintManagerUI
{
  public:
    // Resource settings: where skin documents and images are looked for.
    static HINSTANCE GetInstance();
    static CUiString GetInstancePath();
    static CUiString GetCurrentPath();
    static HINSTANCE GetResourceDll();
    static const CUiString& GetResourcePath();
    static const CUiString& GetResourceZip();
    static bool IsCachedResourceZip();
    static HZIP GetResourceZipHandle();
    static void SetInstance(HINSTANCE hInst);
    static void SetCurrentPath(LPCWSTR pStrPath);
    static void SetResourceDll(HINSTANCE hInst);
    static void SetResourcePath(LPCWSTR pStrPath);
    static void SetResourceZip(const void* pVoid, unsigned int len);
    static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);

  private:
    static void CloseCachedResourceZip();

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUiString m_pStrResourcePath;
    static CUiString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static HZIP m_hResourceZip;
    static CStdPtrArray m_aPlugins;
};

} // namespace Veneer
