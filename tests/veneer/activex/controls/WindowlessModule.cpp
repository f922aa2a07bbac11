// windowless.dll: the windowless test control, and one whose activation
// fails.
#include "TestControlFactory.h"

using namespace TestControls;

namespace
{

TTestControlState g_state{};
CTestControlFactory g_factories[] = {
    CTestControlFactory(kCLSID_Windowless, CTestControl::KindWindowless, &g_state),
    CTestControlFactory(kCLSID_FailingActivation, CTestControl::KindFailing, &g_state),
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
