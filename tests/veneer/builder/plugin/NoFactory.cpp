// A module that exports no "CreateControl": loading it as a plug-in fails.
extern "C" __declspec(dllexport) int __cdecl MakeNothing()
{
    return 0;
}
