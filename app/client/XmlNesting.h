#pragma once

#include <cstddef>
#include <string>

// The deepest element nesting of an XML text, found by a flat scan that
// builds no tree (comments, CDATA sections, declarations and quoted
// attribute values are skipped). TinyXML parses nested elements
// recursively, so a file is measured with this before it is parsed.
size_t MaxElementDepth(const std::string& text);
