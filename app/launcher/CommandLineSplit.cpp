#include "app/launcher/CommandLineSplit.h"

#include "app/client/ClientFolders.h"

namespace Qlm
{

namespace
{

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// The first argument; returns where the text after it starts.
const wchar_t* ReadProgramName(const wchar_t* p, std::wstring& name)
{
    if (*p == L'"')
    {
        const wchar_t* const start = ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        name.assign(start, p);
        return *p == L'"' ? p + 1 : p;
    }
    const wchar_t* const start = p;
    while (*p != L'\0' && !IsBlank(*p))
        ++p;
    name.assign(start, p);
    return p;
}

// A quote after the one that closed a quoted part is a literal quote.
enum class EQuoting
{
    Off,
    On,
    JustClosed
};

// A quote with the run of backslashes in front of it, already copied into
// the argument.
void TakeQuote(std::wstring& argument, size_t backslashes, EQuoting& quoting)
{
    argument.resize(argument.size() - (backslashes + 1) / 2);
    if (backslashes % 2 == 1)
    {
        argument += L'"';
        return;
    }
    switch (quoting)
    {
    case EQuoting::Off:
        quoting = EQuoting::On;
        break;
    case EQuoting::On:
        quoting = EQuoting::JustClosed;
        break;
    case EQuoting::JustClosed:
        argument += L'"';
        quoting = EQuoting::Off;
        break;
    }
}

// One argument after the first, starting at a character that is not a
// blank; returns where it ends.
const wchar_t* ReadArgument(const wchar_t* p, std::wstring& argument)
{
    EQuoting quoting = EQuoting::Off;
    size_t backslashes = 0;
    for (; *p != L'\0'; ++p)
    {
        if (*p == L'"')
        {
            TakeQuote(argument, backslashes, quoting);
            backslashes = 0;
            continue;
        }
        if (quoting == EQuoting::JustClosed)
            quoting = EQuoting::Off;
        if (IsBlank(*p) && quoting == EQuoting::Off)
            break;
        backslashes = *p == L'\\' ? backslashes + 1 : 0;
        argument += *p;
    }
    return p;
}

} // namespace

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine)
{
    std::vector<std::wstring> arguments;
    // An empty command line gives the program's path, as CommandLineToArgvW
    // gives it.
    if (commandLine == nullptr || *commandLine == L'\0')
    {
        std::wstring path = ProgramPath();
        if (!path.empty())
            arguments.push_back(std::move(path));
        return arguments;
    }
    std::wstring name;
    const wchar_t* p = SkipBlanks(ReadProgramName(commandLine, name));
    arguments.push_back(std::move(name));
    while (*p != L'\0')
    {
        std::wstring argument;
        p = SkipBlanks(ReadArgument(p, argument));
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace Qlm
