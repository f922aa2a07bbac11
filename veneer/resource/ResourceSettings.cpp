#include "veneer/manager/PaintManagerUI.h"

namespace Veneer
{

namespace
{

// The archive name that stands for an archive held in memory.
const wchar_t kMemoryArchiveName[] = L"membuffer";

} // namespace

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CUiString CPaintManagerUI::m_pStrResourcePath;
CUiString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
HZIP CPaintManagerUI::m_hResourceZip = nullptr;
UINT CPaintManagerUI::m_uResourceSettings = 0;
CStdPtrArray CPaintManagerUI::m_aPlugins;

HINSTANCE CPaintManagerUI::GetInstance()
{
    return m_hInstance;
}

CUiString CPaintManagerUI::GetInstancePath()
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

CUiString CPaintManagerUI::GetCurrentPath()
{
    wchar_t szPath[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szPath);
    return CUiString(szPath);
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

const CUiString& CPaintManagerUI::GetResourcePath()
{
    return m_pStrResourcePath;
}

const CUiString& CPaintManagerUI::GetResourceZip()
{
    return m_pStrResourceZip;
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

bool CPaintManagerUI::IsResourceZipInMemory()
{
    return m_bCachedResourceZip && m_pStrResourceZip == kMemoryArchiveName;
}

HZIP CPaintManagerUI::GetResourceZipHandle()
{
    return m_hResourceZip;
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    // Images that a manager could not find may be found after any change.
    m_uResourceSettings++;
    m_hInstance = hInst;
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath)
{
    m_uResourceSettings++;
    ::SetCurrentDirectoryW(pStrPath);
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    m_uResourceSettings++;
    m_hResourceInstance = hInst;
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_uResourceSettings++;
    m_pStrResourcePath = pStrPath;
    if (m_pStrResourcePath.IsEmpty())
        return;
    const wchar_t cLast = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
    if (cLast != L'\\' && cLast != L'/')
        m_pStrResourcePath += L'\\';
}

void CPaintManagerUI::CloseCachedResourceZip()
{
    if (m_bCachedResourceZip && m_hResourceZip != nullptr)
        CloseZip(m_hResourceZip);
    m_hResourceZip = nullptr;
}

void CPaintManagerUI::SetResourceZip(const void* pVoid, unsigned int len)
{
    m_uResourceSettings++;
    // The first archive given from memory stays, whatever block comes later.
    if (m_pStrResourceZip == kMemoryArchiveName)
        return;
    CloseCachedResourceZip();
    m_pStrResourceZip = kMemoryArchiveName;
    m_bCachedResourceZip = true;
    m_hResourceZip = OpenZip(pVoid, len, ZIP_MEMORY);
}

void CPaintManagerUI::SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip)
{
    m_uResourceSettings++;
    if (m_pStrResourceZip == pstrZip && m_bCachedResourceZip == bCachedResourceZip)
        return;
    CloseCachedResourceZip();
    m_pStrResourceZip = pstrZip;
    m_bCachedResourceZip = bCachedResourceZip;
    if (!bCachedResourceZip)
        return;
    const CUiString sFile = m_pStrResourcePath + m_pStrResourceZip;
    m_hResourceZip = OpenZip(sFile.GetData(), 0, ZIP_FILENAME);
}

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName)
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

CStdPtrArray* CPaintManagerUI::GetPlugins()
{
    return &m_aPlugins;
}

} // namespace Veneer
