#pragma once

namespace Veneer
{

// The number of GDI objects the process holds. GetGuiResources answers 0
// under Wine, which keeps its GDI handle table in the process, published
// through the PEB as on Windows; the count then comes from that table.
// -1 when neither source is available.
int CountGdiObjects();

} // namespace Veneer
