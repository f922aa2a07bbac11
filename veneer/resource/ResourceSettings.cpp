#include "veneer/resource/ResourceSettings.h"

#include "veneer/resource/ColorShift.h"

#include <cassert>

namespace Veneer
{

namespace
{

// The archive name that stands for an archive held in memory.
const wchar_t kMemoryArchiveName[] = L"membuffer";

const short kMaxHue = 360;
const short kMaxPercent = 200;

short Clamp(short value, short high)
{
    return value < 0 ? 0 : (value > high ? high : value);
}

} // namespace

HINSTANCE CResourceSettings::m_hInstance = nullptr;
HINSTANCE CResourceSettings::m_hResourceInstance = nullptr;
CUiString CResourceSettings::m_sResourcePath;
CUiString CResourceSettings::m_sResourceZip;
bool CResourceSettings::m_bCachedResourceZip = false;
HZIP CResourceSettings::m_hResourceZip = nullptr;
UINT CResourceSettings::m_uChanges = 0;
CStdPtrArray CResourceSettings::m_aPlugins;
short CResourceSettings::m_H = CColorShift::kNeutralHue;
short CResourceSettings::m_S = CColorShift::kNeutralPercent;
short CResourceSettings::m_L = CColorShift::kNeutralPercent;
CUiString CResourceSettings::m_sDefaultFontName;

HINSTANCE CResourceSettings::GetInstance()
{
    return m_hInstance;
}

CUiString CResourceSettings::GetInstancePath()
{
    if (m_hInstance == nullptr)
        return CUiString();
    wchar_t szModule[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(m_hInstance, szModule, MAX_PATH);
    wchar_t* pSlash = wcsrchr(szModule, L'\\');
    if (pSlash != nullptr)
        pSlash[1] = 0;
    return CUiString(szModule);
}

CUiString CResourceSettings::GetCurrentPath()
{
    wchar_t szPath[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szPath);
    return CUiString(szPath);
}

HINSTANCE CResourceSettings::GetResourceDll()
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

const CUiString& CResourceSettings::GetResourcePath()
{
    return m_sResourcePath;
}

const CUiString& CResourceSettings::GetResourceZip()
{
    return m_sResourceZip;
}

bool CResourceSettings::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

bool CResourceSettings::IsResourceZipInMemory()
{
    return m_bCachedResourceZip && m_sResourceZip == kMemoryArchiveName;
}

HZIP CResourceSettings::GetResourceZipHandle()
{
    return m_hResourceZip;
}

void CResourceSettings::SetInstance(HINSTANCE hInst)
{
    // Images that a manager could not find may be found after any change.
    m_uChanges++;
    m_hInstance = hInst;
}

void CResourceSettings::SetCurrentPath(LPCWSTR pStrPath)
{
    m_uChanges++;
    ::SetCurrentDirectoryW(pStrPath);
}

void CResourceSettings::SetResourceDll(HINSTANCE hInst)
{
    m_uChanges++;
    m_hResourceInstance = hInst;
}

void CResourceSettings::SetResourcePath(LPCWSTR pStrPath)
{
    m_uChanges++;
    m_sResourcePath = pStrPath;
    if (m_sResourcePath.IsEmpty())
        return;
    const wchar_t cLast = m_sResourcePath[m_sResourcePath.GetLength() - 1];
    if (cLast != L'\\' && cLast != L'/')
        m_sResourcePath += L'\\';
}

void CResourceSettings::CloseCachedResourceZip()
{
    if (m_bCachedResourceZip && m_hResourceZip != nullptr)
        CloseZip(m_hResourceZip);
    m_hResourceZip = nullptr;
}

void CResourceSettings::SetResourceZip(const void* pVoid, unsigned int len)
{
    m_uChanges++;
    // The first archive given from memory stays, whatever block comes later.
    if (m_sResourceZip == kMemoryArchiveName)
        return;
    CloseCachedResourceZip();
    m_sResourceZip = kMemoryArchiveName;
    m_bCachedResourceZip = true;
    m_hResourceZip = OpenZip(pVoid, len, ZIP_MEMORY);
}

void CResourceSettings::SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip)
{
    m_uChanges++;
    if (m_sResourceZip == pstrZip && m_bCachedResourceZip == bCachedResourceZip)
        return;
    CloseCachedResourceZip();
    m_sResourceZip = pstrZip;
    m_bCachedResourceZip = bCachedResourceZip;
    if (!bCachedResourceZip)
        return;
    const CUiString sFile = m_sResourcePath + m_sResourceZip;
    m_hResourceZip = OpenZip(sFile.GetData(), 0, ZIP_FILENAME);
}

bool CResourceSettings::LoadPlugin(LPCWSTR pstrModuleName)
{
    if (pstrModuleName == nullptr)
        return false;
    const HMODULE hModule = ::LoadLibraryW(pstrModuleName);
    if (hModule == nullptr)
        return false;
    const FARPROC pfnExport = ::GetProcAddress(hModule, "CreateControl");
    if (pfnExport == nullptr)
    {
        // Nothing of the module is used; it need not stay.
        ::FreeLibrary(hModule);
        return false;
    }
    void* pFactory = reinterpret_cast<void*>(pfnExport);
    if (m_aPlugins.Find(pFactory) < 0)
        m_aPlugins.Add(pFactory);
    return true;
}

CStdPtrArray* CResourceSettings::GetPlugins()
{
    return &m_aPlugins;
}

UINT CResourceSettings::GetChangeCount()
{
    return m_uChanges;
}

bool CResourceSettings::SetHSL(short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L)
        return false;
    m_H = Clamp(H, kMaxHue);
    m_S = Clamp(S, kMaxPercent);
    m_L = Clamp(L, kMaxPercent);
    return true;
}

void CResourceSettings::GetHSL(short* H, short* S, short* L)
{
    assert(H != nullptr && S != nullptr && L != nullptr);
    *H = m_H;
    *S = m_S;
    *L = m_L;
}

CUiString& CResourceSettings::DefaultFontName()
{
    return m_sDefaultFontName;
}

} // namespace Veneer
