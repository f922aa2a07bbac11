#include "app/launcher/LaunchSequence.h"

#include "app/launcher/LaunchContext.h"
#include "app/launcher/PopUpReport.h"
#include "app/service/ServiceCommManage.h"
#include "veneer/manager/PaintManagerUI.h"

#include <objbase.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace
{

constexpr int kSkinArchiveId = 202;
const wchar_t kSkinArchiveType[] = L"ZIP";

class CArgvHolder
{
  public:
    explicit CArgvHolder(wchar_t** argv) : argv(argv) {}
    CArgvHolder(const CArgvHolder&) = delete;
    CArgvHolder& operator=(const CArgvHolder&) = delete;
    ~CArgvHolder() { LocalFree(argv); }

  private:
    wchar_t** argv;
};

struct CSkinArchive
{
    const void* data = nullptr;
    DWORD size = 0;
};

// The skin archive among the program's resources, used in place.
bool FindSkinArchive(HINSTANCE module, CSkinArchive& archive)
{
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kSkinArchiveId), kSkinArchiveType);
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
    CLaunchContext& context = CLaunchContext::GetInstance();
    if (commandLine == nullptr || commandLine[0] == L'\0')
    {
        context.MsgLog(L"_tcslen(lpstrCmdLine) == 0");
        return 0;
    }

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine, &argc);
    CArgvHolder argvHolder(argv);
    if (argv == nullptr)
        argc = 0;
    context.MsgLog(L"Msg cmd = %ls, num = %d", commandLine, argc);
    if (argc <= 0 || argv[0][0] == L'\0')
        return 0;

    // A missing key or channel is reported as an empty string.
    context.adKeyId = argc > 1 ? argv[1] : L"";
    context.channel = argc > 2 ? argv[2] : L"";

    CoInitialize(nullptr);
    CServiceCommManage::GetInstance().Connect();
    CSkinArchive archive;
    if (FindSkinArchive(module, archive))
    {
        HandSkinToToolkit(module, archive);
        SendPopUpReport(Model::kAdActionShown);
    }
    CoUninitialize();
    return 0;
}
