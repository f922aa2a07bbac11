#include "app/launcher/LaunchSequence.h"

#include "app/client/LaunchLog.h"
#include "app/launcher/CommandLineSplit.h"
#include "app/launcher/LaunchContext.h"
#include "app/launcher/PopUpReport.h"
#include "app/service/ServiceCommManage.h"
#include "resources/ResourceIds.h"
#include "veneer/Veneer.h"

#include <objbase.h>

#include <string>
#include <vector>

namespace Qlm
{

namespace
{

const wchar_t kSkinArchiveType[] = L"" QLM_STRINGIZE(QLM_SKIN_ARCHIVE_TYPE);

struct CSkinArchive
{
    const void* data = nullptr;
    DWORD size = 0;
};

// The skin archive among the program's resources, used in place.
bool FindSkinArchive(HINSTANCE module, CSkinArchive& archive)
{
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(QLM_SKIN_ARCHIVE_ID), kSkinArchiveType);
    if (resource == nullptr)
        return false;
    archive.size = SizeofResource(module, resource);
    const HGLOBAL loaded = LoadResource(module, resource);
    archive.data = loaded == nullptr ? nullptr : LockResource(loaded);
    return archive.data != nullptr;
}

// The toolkit reads the frame's skin straight from the archive's bytes,
// which stay valid (a loaded resource) for the life of the process.
void HandSkinToToolkit(HINSTANCE module, const CSkinArchive& archive)
{
    Veneer::CPaintManagerUI::SetInstance(module);
    Veneer::CPaintManagerUI::SetResourceZip(archive.data, archive.size);
}

} // namespace

int RunLaunchSequence(HINSTANCE module, const wchar_t* commandLine)
{
    // The objects of the launch live in this frame and end with it, in the
    // reverse order of their making.
    CLaunchLog launchLog;
    if (commandLine == nullptr || commandLine[0] == L'\0')
    {
        launchLog.MsgLog(L"_tcslen(lpstrCmdLine) == 0");
        return 0;
    }

    const std::vector<std::wstring> argv = SplitCommandLine(commandLine);
    const int argc = static_cast<int>(argv.size());
    launchLog.MsgLog(L"Msg cmd = %ls, num = %d", commandLine, argc);
    if (argc <= 0 || argv[0].empty())
        return 0;

    // A missing key or channel is reported as an empty string.
    const CLaunchContext context(argc > 1 ? argv[1] : L"", argc > 2 ? argv[2] : L"");
    CServiceCommManage service(launchLog);
    service.Connect();
    CSkinArchive archive;
    if (FindSkinArchive(module, archive))
    {
        HandSkinToToolkit(module, archive);
        SendPopUpReport(context, service, Model::kAdActionShown);
    }
    // COM is first needed by the frame's window and browser. The service
    // channel, the resource lookup and the report do without it, so the
    // report does not wait for COM (and the window system it brings up).
    CoInitialize(nullptr);
    CoUninitialize();
    return 0;
}

} // namespace Qlm
