#pragma once

#include <windows.h>

#include <string>

namespace PageHost
{

// The page host's process-wide state: its module handle, the count of live
// COM objects and server locks (DllCanUnloadNow), and the log of what it
// refused or reported, which also goes to the debugger output and stderr.
class CHostModule
{
  public:
    static void SetInstance(HINSTANCE hInstance);
    static HINSTANCE Instance();
    // A window class of the page host, registered on first use (its
    // windows take their procedure when they are made); `hCursor` may be
    // null.
    static bool RegisterWindowClass(const wchar_t* pstrClassName, UINT style, HCURSOR hCursor);

    static void ObjectCreated();
    static void ObjectDestroyed();
    static LONG LiveObjects();
    static void LockServer(bool bLock);
    static bool CanUnload();

    // One line for the log ("page refused: ..."), formatted like printf.
    static void Report(const wchar_t* pstrFormat, ...);
    static std::wstring MessageLog();
    static void ClearMessageLog();
};

// Base of every COM object of the page host: counts it as live for its
// whole life, so that DllCanUnloadNow and the tests see what is left.
class CLiveObject
{
  public:
    CLiveObject() { CHostModule::ObjectCreated(); }
    CLiveObject(const CLiveObject&) = delete;
    CLiveObject& operator=(const CLiveObject&) = delete;

  protected:
    ~CLiveObject()
    {
        if (m_bCounted)
            CHostModule::ObjectDestroyed();
    }
    // For an object that will never be destroyed because its holder was
    // abandoned (a script thread that had to be stopped): stop counting it.
    void Uncount()
    {
        if (m_bCounted)
            CHostModule::ObjectDestroyed();
        m_bCounted = false;
    }

  private:
    bool m_bCounted = true;
};

} // namespace PageHost
