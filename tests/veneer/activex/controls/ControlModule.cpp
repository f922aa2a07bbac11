// The entry points of a test control DLL, over the factories and the record
// that the DLL's own file defines.
#include "ControlModule.h"

using namespace TestControls;

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return CTestControlFactory::GetClassObject(g_factories, g_nFactories, rclsid, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return CTestControlFactory::CanUnloadNow(g_factories, g_nFactories);
}

extern "C" TTestControlState* WINAPI TestControlState()
{
    return &g_state;
}
