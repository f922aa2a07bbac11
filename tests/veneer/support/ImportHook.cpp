#include "ImportHook.h"

namespace Veneer
{

namespace
{

// The program's import-table slot that holds the address of the function,
// found by the address itself: the loader wrote that address there.
void** FindImportSlot(void* pFunction)
{
    BYTE* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    for (const IMAGE_IMPORT_DESCRIPTOR* pDesc =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         pDesc->Name != 0; pDesc++)
    {
        for (void** ppSlot = reinterpret_cast<void**>(pBase + pDesc->FirstThunk); *ppSlot != nullptr;
             ppSlot++)
        {
            if (*ppSlot == pFunction)
                return ppSlot;
        }
    }
    return nullptr;
}

bool WriteSlot(void** ppSlot, void* pValue)
{
    DWORD dwOldProtect = 0;
    if (!::VirtualProtect(ppSlot, sizeof(void*), PAGE_READWRITE, &dwOldProtect))
        return false;
    *ppSlot = pValue;
    ::VirtualProtect(ppSlot, sizeof(void*), dwOldProtect, &dwOldProtect);
    return true;
}

} // namespace

CImportHook::CImportHook(LPCWSTR pstrModule, LPCSTR pstrFunction, void* pReplacement)
{
    HMODULE hModule = ::GetModuleHandleW(pstrModule);
    if (hModule == nullptr)
        return;
    m_pOriginal = reinterpret_cast<void*>(::GetProcAddress(hModule, pstrFunction));
    if (m_pOriginal == nullptr)
        return;
    void** ppSlot = FindImportSlot(m_pOriginal);
    if (ppSlot != nullptr && WriteSlot(ppSlot, pReplacement))
        m_ppSlot = ppSlot;
}

CImportHook::~CImportHook()
{
    if (m_ppSlot != nullptr)
        WriteSlot(m_ppSlot, m_pOriginal);
}

bool CImportHook::IsInstalled() const
{
    return m_ppSlot != nullptr;
}

void* CImportHook::GetOriginal() const
{
    return m_pOriginal;
}

} // namespace Veneer
