// windowed.dll: the test control that lives in a child window of its own.
#include "ControlModule.h"

namespace TestControls
{

TTestControlState g_state{};
CTestControlFactory g_factories[] = {
    CTestControlFactory(kCLSID_Windowed, CTestControl::KindWindowed, &g_state),
};
const int g_nFactories = static_cast<int>(sizeof(g_factories) / sizeof(g_factories[0]));

} // namespace TestControls
