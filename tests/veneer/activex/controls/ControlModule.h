#pragma once

#include "TestControlFactory.h"

// What each control DLL defines for the shared entry points
// (ControlModule.cpp): its record and its factories.
namespace TestControls
{

extern TTestControlState g_state;
extern CTestControlFactory g_factories[];
extern const int g_nFactories;

} // namespace TestControls
