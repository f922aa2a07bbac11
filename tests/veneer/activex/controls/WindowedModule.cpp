// windowed.dll: the test control that lives in a child window of its own.
#include "TestControlFactory.h"

using namespace TestControls;

namespace
{

TTestControlState g_state{};
CTestControlFactory g_factories[] = {
    CTestControlFactory(kCLSID_Windowed, CTestControl::KindWindowed, &g_state),
};
constexpr int kFactories = static_cast<int>(sizeof(g_factories) / sizeof(g_factories[0]));

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return CTestControlFactory::GetClassObject(g_factories, kFactories, rclsid, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return CTestControlFactory::CanUnloadNow(g_factories, kFactories);
}

extern "C" TTestControlState* WINAPI TestControlState()
{
    return &g_state;
}
