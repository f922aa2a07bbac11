// StartRecorder.exe: records each time it is started by appending its
// arguments, blank-separated, as one line to "starts.txt" beside itself. The
// tests put copies of it where the program under test starts another
// program: in the place of the browser for web addresses, or as the service.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring file(path);
    file = file.substr(0, file.find_last_of(L'\\') + 1) + L"starts.txt";
    FILE* out = _wfopen(file.c_str(), L"ab");
    if (out == nullptr)
        return 2;
    for (int i = 1; i < argc; ++i)
        fprintf(out, "%ls%s", argv[i], i + 1 < argc ? " " : "");
    fprintf(out, "\n");
    fclose(out);
    return 0;
}
