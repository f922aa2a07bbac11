#pragma once

// The program's resource ids, for the resource script and for the code that
// looks the resources up. The resource compiler reads this file too, so it
// holds preprocessor definitions only.

// The skin archive: a resource of the custom type ZIP (a bare name in the
// script; QLM_STRINGIZE makes it text for the code).
#define QLM_SKIN_ARCHIVE_ID 202
#define QLM_SKIN_ARCHIVE_TYPE ZIP

// The frame's window icon.
#define QLM_ICON_ID 128

// The version block: the four numbers, and the same version as text.
#define QLM_VERSION_NUMBERS 1, 0, 0, 0
#define QLM_VERSION_TEXT "1.0.0.0"

#define QLM_STRINGIZE_(token) #token
#define QLM_STRINGIZE(token) QLM_STRINGIZE_(token)
