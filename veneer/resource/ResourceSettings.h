#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/ZipArchive.h"

#include <windows.h>

namespace Veneer
{

// The process-wide settings that say where skin documents and images are
// looked for (the module, a resource module, the resource folder, the skin
// archive), the colour shift, the face name of default fonts and the
// control factories of plug-in modules. Every window of the process shares
// them; the paint manager's static members forward here.
class VENEER_API CResourceSettings
{
  public:
    static HINSTANCE GetInstance();
    // The folder of the instance's module, with its trailing backslash;
    // empty without an instance.
    static CUiString GetInstancePath();
    static CUiString GetCurrentPath();
    // The resource module when one is set, else the instance.
    static HINSTANCE GetResourceDll();
    static const CUiString& GetResourcePath();
    static const CUiString& GetResourceZip();
    static bool IsCachedResourceZip();
    // The archive was given from memory ("membuffer"): it has no file.
    static bool IsResourceZipInMemory();
    static HZIP GetResourceZipHandle();
    static void SetInstance(HINSTANCE hInst);
    static void SetCurrentPath(LPCWSTR pStrPath);
    static void SetResourceDll(HINSTANCE hInst);
    static void SetResourcePath(LPCWSTR pStrPath);
    static void SetResourceZip(const void* pVoid, unsigned int len);
    static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);
    // Counts the changes of the settings above: what could not be found
    // under one count may be found under the next.
    static UINT GetChangeCount();

    // Keeps the module's "CreateControl" export in the plug-in list; the
    // module stays loaded. The list holds the factories as void pointers.
    static bool LoadPlugin(LPCWSTR pstrModuleName);
    static CStdPtrArray* GetPlugins();

    // The colour shift; 180, 100, 100 leaves colours unchanged. SetHSL
    // clamps the values and answers whether the stored shift changed.
    static bool SetHSL(short H, short S, short L);
    static void GetHSL(short* H, short* S, short* L);

    // The face name of every default font made afterwards, when not empty.
    static CUiString& DefaultFontName();

  private:
    static void CloseCachedResourceZip();

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUiString m_sResourcePath;
    static CUiString m_sResourceZip;
    static bool m_bCachedResourceZip;
    static HZIP m_hResourceZip;
    static UINT m_uChanges;
    static CStdPtrArray m_aPlugins;
    static short m_H;
    static short m_S;
    static short m_L;
    static CUiString m_sDefaultFontName;
};

} // namespace Veneer
