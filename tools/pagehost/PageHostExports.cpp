// The DLL's entry points: the standard ones of an in-process COM server and
// the test queries of PageHostApi.h.
#include "tools/pagehost/ClassFactory.h"
#include "tools/pagehost/ClassRegistration.h"
#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/MessageWindow.h"
#include "tools/pagehost/PageView.h"

#include <exdisp.h>

#include <algorithm>
#include <string>

using namespace PageHost;

namespace
{

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(CHostModule::Instance(), path, MAX_PATH * 4);
    return path;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        CHostModule::SetInstance(hInstance);
        DisableThreadLibraryCalls(hInstance);
    }
    else if (dwReason == DLL_PROCESS_DETACH && pvReserved == nullptr)
    {
        // Unloaded while the process goes on (DllCanUnloadNow said yes): the
        // classes go with the code of their procedures.
        CPageView::UnregisterClass();
        CMessageWindow::UnregisterClass();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (rclsid != CLSID_WebBrowser)
        return Veneer::AnswerNothing(ppv, CLASS_E_CLASSNOTAVAILABLE);
    return CClassFactory::Create(riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CHostModule::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return CClassRegistration::Register(ModulePath());
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return CClassRegistration::Unregister(ModulePath());
}

extern "C" LONG WINAPI PageHostLiveObjects()
{
    return CHostModule::LiveObjects();
}

extern "C" UINT WINAPI PageHostMessageLog(wchar_t* buffer, UINT capacity)
{
    const std::wstring log = CHostModule::MessageLog();
    if (buffer != nullptr && capacity > 0)
    {
        const size_t count = std::min<size_t>(log.size(), capacity - 1);
        log.copy(buffer, count);
        buffer[count] = L'\0';
    }
    return static_cast<UINT>(log.size());
}

extern "C" void WINAPI PageHostClearMessageLog()
{
    CHostModule::ClearMessageLog();
}

extern "C" int WINAPI PageHostActionCount(HWND view)
{
    CPageView* pView = CPageView::FromWindow(view);
    return pView != nullptr ? pView->Canvas().ActionCount() : -1;
}

extern "C" BOOL WINAPI PageHostActionRect(HWND view, int index, RECT* rect)
{
    CPageView* pView = CPageView::FromWindow(view);
    return pView != nullptr && rect != nullptr && pView->Canvas().ActionRect(index, *rect) ? TRUE : FALSE;
}
