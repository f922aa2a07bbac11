#pragma once

#include "veneer/core/UiString.h"

#include <windows.h>

namespace Veneer
{

// Reads one item of an image description (key='value'; blanks allowed
// around the '=') and leaves `pstr` just past the closing apostrophe.
// False, and the description is done, when the item is malformed. Image
// strings and the image tags of inline markup share this form.
bool ReadImageItem(LPCWSTR& pstr, CUiString& sKey, CUiString& sValue);

} // namespace Veneer
