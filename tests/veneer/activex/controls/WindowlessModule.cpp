// windowless.dll: the windowless test control, and one whose activation
// fails.
#include "ControlModule.h"

namespace TestControls
{

TTestControlState g_state{};
CTestControlFactory g_factories[] = {
    CTestControlFactory(kCLSID_Windowless, CTestControl::KindWindowless, &g_state),
    CTestControlFactory(kCLSID_FailingActivation, CTestControl::KindFailing, &g_state),
};
const int g_nFactories = static_cast<int>(sizeof(g_factories) / sizeof(g_factories[0]));

} // namespace TestControls
