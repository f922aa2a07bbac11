#pragma once

#include <guiddef.h>

namespace PageHost
{

// Identifiers the page host and its container use that mingw's uuid
// library does not carry.
// ICustomDoc {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}
extern const GUID kIID_ICustomDoc;
// The document host's command group {F38BC242-B950-11D1-8918-00C04FC2C836}
// (OLECMDID_SHOWSCRIPTERROR and the others go to the UI handler in it).
extern const GUID kCGID_DocHostCommandHandler;
// MSHTML's command group {DE4BA900-59CA-11CF-9592-444553540000}, in which
// keys are offered to the UI handler's TranslateAccelerator.
extern const GUID kCGID_MSHTML;

} // namespace PageHost
