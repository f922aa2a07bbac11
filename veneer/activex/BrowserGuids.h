#pragma once

#include <guiddef.h>

namespace Veneer
{

// Identifiers of the browser's document-host interfaces that mingw's uuid
// library does not carry. Kept as constants in this header so that every
// program that speaks to the browser (the toolkit, the page host) uses the
// same values without linking one another.

// ICustomDoc {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}: installs a document's
// UI handler.
inline constexpr GUID kIID_ICustomDoc = {
    0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
// The document host's command group {F38BC242-B950-11D1-8918-00C04FC2C836}:
// OLECMDID_SHOWSCRIPTERROR and its kin reach the UI handler in it.
inline constexpr GUID kCGID_DocHostCommandHandler = {
    0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
// IDownloadManager {988934A4-064B-11D3-BB80-00104B35E7F9}: both the service
// and the interface a browser asks its host for before a download.
inline constexpr GUID kIID_IDownloadManager = {
    0x988934A4, 0x064B, 0x11D3, {0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9}};
// MSHTML's command group {DE4BA900-59CA-11CF-9592-444553540000}, in which
// keys are offered to the UI handler's TranslateAccelerator.
inline constexpr GUID kCGID_MSHTML = {
    0xDE4BA900, 0x59CA, 0x11CF, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

} // namespace Veneer
