#pragma once

#include <windows.h>

namespace Veneer
{

class CControlUI;

// Size rules that every layout applies to its children: a size is raised to
// the child's minimum and then lowered to its maximum, so that the maximum
// wins when the two contradict each other.
int ClampToLimits(int nSize, int nMin, int nMax);
int ClampWidth(const CControlUI* pControl, int cx);
int ClampHeight(const CControlUI* pControl, int cy);

// A rectangle whose right or bottom edge crossed its left or top edge (an
// inset or scroll bar larger than the control) collapses onto that edge,
// so that no layout measures a negative area.
RECT CollapseInverted(RECT rc);

// The rectangle shrunk by the margins of `rcInset` on each side.
RECT ShrinkRect(RECT rc, const RECT& rcInset);

} // namespace Veneer
