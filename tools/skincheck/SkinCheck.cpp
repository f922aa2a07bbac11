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

#include "tools/common/SkinText.h"
#include "veneer/Veneer.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::CPaintManagerUI;

namespace
{

const int kExitLoaded = 0;
const int kExitNotLoaded = 1;
const int kExitUsage = 2;

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
    if (!SplitSkinPath(argv[1], sFolder, sName))
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
