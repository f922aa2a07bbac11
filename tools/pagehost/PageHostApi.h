#pragma once

// What the page host (pagehost.dll) and the programs that drive it share:
// its limits, its window class, the statuses it reports and the functions it
// exports for tests beside the standard COM server entry points.
#include <windows.h>

namespace PageHost
{

// A page file larger than this is refused (NavigateError).
constexpr DWORD kMaxPageBytes = 1024 * 1024;
// At most this many action elements (links and buttons) are made per page;
// the rest are refused and reported.
constexpr size_t kMaxActions = 64;
// At most this many headings and text blocks are laid out per page.
constexpr size_t kMaxTextBlocks = 256;
// A heading, text block, title or action text longer than this is cut, and
// blocks past this much text in all are refused, so that the layout and
// drawing work of a page stays small whatever text it holds.
constexpr size_t kMaxBlockChars = 2000;
constexpr size_t kMaxPageTextChars = 32 * 1024;
// At most this many script blocks run per page.
constexpr size_t kMaxScriptBlocks = 64;
// The script time of one page load (all its blocks and its onload code
// together) and of one click; a script still running then is stopped.
constexpr DWORD kScriptTimeLimitMs = 3000;

// The class of the child window a page is drawn in.
constexpr wchar_t kViewClassName[] = L"PageHostView";

// NavigateError statuses: an address the host does not load (http:, https:,
// any scheme but file: and about:blank) and a missing or unreadable file;
// an empty or malformed address; a page over kMaxPageBytes.
constexpr LONG kStatusNotFound = static_cast<LONG>(0x800C0005L);   // INET_E_RESOURCE_NOT_FOUND
constexpr LONG kStatusInvalidUrl = static_cast<LONG>(0x800C0002L); // INET_E_INVALID_URL
constexpr LONG kStatusRefused = static_cast<LONG>(0x800C0008L);    // INET_E_DOWNLOAD_FAILURE

// The host's own context menu: its one command.
constexpr UINT kMenuRefresh = 1;

} // namespace PageHost

// Exported for tests (looked up with GetProcAddress):
// PageHostLiveObjects: COM objects of the page host alive now (class
//   factories included); 0 once a container has released everything.
typedef LONG(WINAPI* PageHostLiveObjectsFn)();
// PageHostMessageLog: what the host reported (refusals, stopped scripts,
//   context menus), one line each, oldest first; returns the length of the
//   whole log and copies as much as fits, always terminated.
typedef UINT(WINAPI* PageHostMessageLogFn)(wchar_t* buffer, UINT capacity);
typedef void(WINAPI* PageHostClearMessageLogFn)();
// PageHostActionCount / PageHostActionRect: the action elements of the page
//   shown in a page window (class kViewClassName) and the rectangle of the
//   Nth in that window's client coordinates.
typedef int(WINAPI* PageHostActionCountFn)(HWND view);
typedef BOOL(WINAPI* PageHostActionRectFn)(HWND view, int index, RECT* rect);
