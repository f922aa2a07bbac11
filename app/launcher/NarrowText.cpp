#include "app/launcher/NarrowText.h"

std::string WideToNarrow(const wchar_t* text, size_t length, UINT codePage)
{
    if (text == nullptr || length == 0)
        return std::string();
    // No default character of our own and no "was one used" flag: with both
    // null every code page puts in its own default, and UTF-8 and UTF-7,
    // which refuse either argument, convert at all.
    const int count = static_cast<int>(length);
    const int needed = WideCharToMultiByte(codePage, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, text, count, &narrow[0], needed, nullptr, nullptr) != needed)
        return std::string();
    // A NUL in the wide text ends the text.
    return narrow.substr(0, narrow.find('\0'));
}

std::string WideToAnsi(const std::wstring& text)
{
    return WideToNarrow(text.data(), text.size(), CP_ACP);
}
