#pragma once

#include <json/value.h>

#include <string>

namespace Model
{

// Writes a document the way the service reads it: one line, no blanks,
// object members in ascending byte order of their names, and a final line
// feed. Text is narrow ANSI, so bytes above 127 are copied unchanged.
std::string WriteCompactJson(const Json::Value& document);

} // namespace Model
