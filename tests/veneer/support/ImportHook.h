#pragma once

#include <windows.h>

namespace Veneer
{

// Routes the calls that the test program makes to one function of a system
// DLL through a replacement, for as long as the hook lives. The toolkit is
// linked into the test program, so its calls go through the program's own
// import table, which is what the hook rewrites.
class CImportHook
{
  public:
    CImportHook(LPCWSTR pstrModule, LPCSTR pstrFunction, void* pReplacement);
    CImportHook(const CImportHook&) = delete;
    CImportHook& operator=(const CImportHook&) = delete;
    ~CImportHook();

    // False when the program does not import the function: the hook then
    // sees no call at all.
    bool IsInstalled() const;
    // The function that the hook replaced, for the replacement to call on.
    void* GetOriginal() const;

  private:
    void** m_ppSlot = nullptr;
    void* m_pOriginal = nullptr;
};

} // namespace Veneer
