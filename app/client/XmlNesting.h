#pragma once

#include <cstddef>
#include <string>

namespace Qlm
{

// The text TinyXML's parser reads from a file's bytes: what its LoadFile
// would hand it (the bytes up to the first NUL, each CR LF and each lone CR
// made one LF), followed by zero bytes. The parser steps over a multi-byte
// UTF-8 character by its lead byte alone, up to four bytes, so a lead byte
// at the very end would otherwise carry it past the terminator.
std::string TinyXmlInput(const std::string& fileBytes);

// The deepest element nesting TinyXML reaches when it parses a file's text
// (as TinyXmlInput prepares it), found without building a tree and without
// recursion. TinyXML recurses once per nested element, so a file is
// measured with this before it is parsed.
size_t MaxElementDepth(const std::string& text);

} // namespace Qlm
