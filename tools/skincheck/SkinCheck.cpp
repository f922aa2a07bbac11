// skincheck: shows what the toolkit makes of a skin document.
//
//   skincheck <skin.xml>
//   skincheck <archive.zip> <member>
//
// The document is loaded exactly as the toolkit loads it (UTF-8, through the
// resource path or the skin archive). On success each element is printed on
// its own line, indented by its depth, with its attributes in document order
// and its text; otherwise the toolkit's error message and error location.
// Output is UTF-8. Exit codes: 0 loaded, 1 not loaded, 2 bad arguments.

#include "veneer/manager/PaintManagerUI.h"
#include "veneer/markup/Markup.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iterator>
#include <string>

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::CPaintManagerUI;

namespace
{

const int kExitLoaded = 0;
const int kExitNotLoaded = 1;
const int kExitUsage = 2;

void WriteUtf8(const std::wstring& text)
{
    const int cb = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], cb, nullptr,
                        nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// The text in double quotes, with C-style escapes for quotes, backslashes and
// control characters, so that every element stays on one line.
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

bool IsBlank(const wchar_t* pstr)
{
    for (; *pstr != L'\0'; ++pstr)
    {
        if (*pstr > L' ')
            return false;
    }
    return true;
}

// One line per element: indentation, name, attributes, and the text when it
// holds more than whitespace.
void PrintElements(CMarkupNode node, int iDepth)
{
    for (; node.IsValid(); node = node.GetSibling())
    {
        std::wstring line(static_cast<size_t>(iDepth) * 2, L' ');
        line += node.GetName();
        const int nAttributes = node.GetAttributeCount();
        for (int i = 0; i < nAttributes; ++i)
            line += std::wstring(L" ") + node.GetAttributeName(i) + L"=" + Quoted(node.GetAttributeValue(i));
        if (!IsBlank(node.GetValue()))
            line += L" : " + Quoted(node.GetValue());
        WriteUtf8(line + L"\n");
        PrintElements(node.GetChild(), iDepth + 1);
    }
}

void PrintError(const CMarkup& markup)
{
    wchar_t szMessage[100] = {};
    wchar_t szLocation[50] = {};
    markup.GetLastErrorMessage(szMessage, _countof(szMessage));
    markup.GetLastErrorLocation(szLocation, _countof(szLocation));
    WriteUtf8(std::wstring(L"error: ") + szMessage + L"\n");
    WriteUtf8(L"at: " + Quoted(szLocation) + L"\n");
}

// Splits a path into its folder (the resource path) and its file name.
bool SplitPath(const wchar_t* pstrPath, std::wstring& sFolder, std::wstring& sName)
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

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    _setmode(_fileno(stdout), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);

    if (argc < 2 || argc > 3 || argv[1][0] == L'\0' || (argc == 3 && argv[2][0] == L'\0'))
    {
        fputs("usage: skincheck <skin.xml> | skincheck <archive.zip> <member>\n", stderr);
        return kExitUsage;
    }
    std::wstring sFolder;
    std::wstring sName;
    if (!SplitPath(argv[1], sFolder, sName))
    {
        WriteUtf8(L"error: not a file path: " + Quoted(argv[1]) + L"\n");
        return kExitNotLoaded;
    }

    // The same lookup as the toolkit's: the file under the resource path, or
    // the member of the archive kept open by the resource settings.
    CPaintManagerUI::SetResourcePath(sFolder.c_str());
    if (argc == 3)
        CPaintManagerUI::SetResourceZip(sName.c_str(), true);
    CMarkup markup;
    if (!markup.LoadFromFile(argc == 3 ? argv[2] : sName.c_str(), Veneer::XMLFILE_ENCODING_UTF8))
    {
        PrintError(markup);
        return kExitNotLoaded;
    }
    PrintElements(markup.GetRoot(), 0);
    return kExitLoaded;
}
