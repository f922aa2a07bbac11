#include "tools/common/SkinText.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>

void WriteUtf8(const std::wstring& text)
{
    const int cb = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], cb, nullptr,
                        nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fflush(stdout);
}

std::wstring Quoted(const wchar_t* pstr)
{
    static const struct
    {
        wchar_t ch;
        const wchar_t* pstrEscape;
    } kEscapes[] = {{L'"', L"\\\""}, {L'\\', L"\\\\"}, {L'\n', L"\\n"}, {L'\r', L"\\r"}, {L'\t', L"\\t"}};
    std::wstring quoted = L"\"";
    for (; *pstr != L'\0'; ++pstr)
    {
        const auto* pEscape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                           [&](const auto& escape) { return escape.ch == *pstr; });
        if (pEscape != std::end(kEscapes))
            quoted += pEscape->pstrEscape;
        else if (*pstr < L' ')
        {
            wchar_t szCode[8] = {};
            swprintf(szCode, _countof(szCode), L"\\x%02X", static_cast<unsigned>(*pstr));
            quoted += szCode;
        }
        else
            quoted += *pstr;
    }
    return quoted + L"\"";
}

bool SplitSkinPath(const wchar_t* pstrPath, std::wstring& sFolder, std::wstring& sName)
{
    const DWORD cchFull = GetFullPathNameW(pstrPath, 0, nullptr, nullptr);
    if (cchFull == 0)
        return false;
    std::wstring sFull(cchFull, L'\0');
    wchar_t* pstrName = nullptr;
    const DWORD cch = GetFullPathNameW(pstrPath, cchFull, &sFull[0], &pstrName);
    if (cch == 0 || cch >= cchFull || pstrName == nullptr)
        return false;
    sName = pstrName;
    sFolder.assign(sFull.c_str(), static_cast<size_t>(pstrName - sFull.c_str()));
    return true;
}
