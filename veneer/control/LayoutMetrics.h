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

// The size that a child takes in an area: its estimate for the area's size,
// where a dimension that it leaves open (0) takes the area's, both clamped
// to the child's limits (so a negative area gives the minimum).
SIZE EstimateInArea(CControlUI* pControl, SIZE szArea);

// A rectangle whose right or bottom edge crossed its left or top edge (an
// inset or scroll bar larger than the control) collapses onto that edge,
// so that no layout measures a negative area.
RECT CollapseInverted(RECT rc);

// The rectangle shrunk by the margins of `rcInset` on each side.
RECT ShrinkRect(RECT rc, const RECT& rcInset);

} // namespace Veneer
