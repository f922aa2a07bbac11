#pragma once

// The toolkit's public interface: what an application needs to build a
// skinned window. Internals (archive reading, image decoding, the manager's
// resource tables, attribute parsing) stay behind these classes.

// core: strings, containers, geometry, delegates and small holders.
#include "veneer/core/Delegate.h"
#include "veneer/core/GdiHolders.h"
#include "veneer/core/Geometry.h"
#include "veneer/core/ScopedHandle.h"
#include "veneer/core/StdPtrArray.h"
#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/StdValArray.h"
#include "veneer/core/Trace.h"
#include "veneer/core/UiString.h"
#include "veneer/core/WaitCursor.h"

// markup: the skin's XML reader.
#include "veneer/markup/Markup.h"

// render: drawing operations and 32-bit drawing surfaces.
#include "veneer/render/DibSurface.h"
#include "veneer/render/RenderEngine.h"

// control and manager: the control tree and the window's paint manager.
#include "veneer/control/ButtonUI.h"
#include "veneer/control/CheckBoxUI.h"
#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlUI.h"
#include "veneer/control/FlowLayoutUI.h"
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/LabelUI.h"
#include "veneer/control/OptionUI.h"
#include "veneer/control/ScrollBarUI.h"
#include "veneer/control/TabLayoutUI.h"
#include "veneer/control/TextUI.h"
#include "veneer/control/TileLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"
#include "veneer/manager/PaintManagerUI.h"
#include "veneer/manager/UiEvents.h"

// builder: control trees from skin files.
#include "veneer/builder/DialogBuilder.h"

// window: native windows and the skinned window base.
#include "veneer/window/NotifyPump.h"
#include "veneer/window/WindowImplBase.h"
#include "veneer/window/WindowWnd.h"
