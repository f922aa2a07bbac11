#include "app/client/NarrowText.h"

#include <cwchar>

namespace Qlm
{

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

std::string PageTextToNarrow(const wchar_t* text)
{
    return text == nullptr ? std::string() : WideToNarrow(text, wcslen(text), CP_THREAD_ACP);
}

std::wstring AnsiToWide(const std::string& text)
{
    const std::string whole = text.substr(0, text.find('\0'));
    if (whole.empty())
        return std::wstring();
    const int count = static_cast<int>(whole.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, whole.data(), count, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, whole.data(), count, &wide[0], needed);
    return wide;
}

} // namespace Qlm
