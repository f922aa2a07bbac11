#include "app/launcher/LaunchSequence.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    return Qlm::RunLaunchSequence(instance, commandLine);
}
