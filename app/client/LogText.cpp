#include "app/client/LogText.h"

#include <cstdio>

namespace Qlm
{

namespace
{

void AppendHexEscape(std::string& text, unsigned char byte)
{
    char escaped[8] = {};
    snprintf(escaped, sizeof(escaped), "\\x%02X", byte);
    text += escaped;
}

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

int HexDigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

} // namespace

std::string EscapeControlBytes(const std::string& text, size_t limit)
{
    std::string escaped;
    for (size_t i = 0; i < text.size() && i < limit; ++i)
    {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsControl(byte))
            AppendHexEscape(escaped, byte);
        else
            escaped += text[i];
    }
    if (text.size() > limit)
        escaped += "...";
    return escaped;
}

std::string EscapeToAscii(const std::string& bytes)
{
    std::string escaped;
    for (const char c : bytes)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte == '\\')
            escaped += "\\\\";
        else if (byte >= 0x20 && byte <= 0x7E)
            escaped += c;
        else
            AppendHexEscape(escaped, byte);
    }
    return escaped;
}

bool UnescapeAscii(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            bytes += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\')
        {
            bytes += '\\';
            ++i;
            continue;
        }
        const bool hexEscape = i + 3 < text.size() && text[i + 1] == 'x';
        const int high = hexEscape ? HexDigitValue(text[i + 2]) : -1;
        const int low = hexEscape ? HexDigitValue(text[i + 3]) : -1;
        if (high < 0 || low < 0)
            return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

} // namespace Qlm
