#pragma once

// Text made fit for one line of a log or a record file: bytes that would
// break the line, or that a reader of the line could not tell apart, are
// written as "\xNN" (two upper-case hexadecimal digits).
#include <cstddef>
#include <string>

namespace Qlm
{

// Control bytes (below 0x20, and 0x7F) as \xNN; every other byte stays, so
// text in the ANSI code page remains readable. At most `limit` bytes of the
// text are taken; a longer text ends in "..." after them.
std::string EscapeControlBytes(const std::string& text, size_t limit);

// Printable ASCII only: every byte outside 0x20..0x7E as \xNN, and a
// backslash doubled, so that UnescapeAscii gives back exactly the bytes.
std::string EscapeToAscii(const std::string& bytes);

// The bytes of a text written by EscapeToAscii; false when the text holds a
// backslash that starts neither "\\" nor "\xNN".
bool UnescapeAscii(const std::string& text, std::string& bytes);

} // namespace Qlm
