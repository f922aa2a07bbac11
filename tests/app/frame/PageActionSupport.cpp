#include "tests/app/frame/PageActionSupport.h"

#include "app/client/ClientLog.h"
#include "app/client/DataManage.h"

#include <json/reader.h>
#include <oleauto.h>

namespace PageActionSupport
{

namespace
{

const wchar_t kPlatformKey[] = L"Software\\Quillmarsh\\platform";
const wchar_t kInstallationValue[] = L"Installation";

// "QMClient yyyy-mm-dd hh:mm:ss " and the tag padded to 20 and a blank.
constexpr size_t kTagOffset = 29;
constexpr size_t kMessageOffset = 50;
const std::string kPaddedTag = "QLMNews" + std::string(14, ' ');

std::string LogPath()
{
    char path[MAX_PATH] = {};
    Qlm::GetLogFilePath(path, sizeof(path));
    return path;
}

bool ParseJson(const std::string& text, Json::Value& root)
{
    Json::Reader reader;
    return reader.parse(text, root, false);
}

} // namespace

CArgs::~CArgs()
{
    for (VARIANT& value : values)
        VariantClear(&value);
}

VARIANT& CArgs::Add(VARTYPE type)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = type;
    values.push_back(value);
    return values.back();
}

CArgs& CArgs::Str(const std::wstring& text)
{
    Add(VT_BSTR).bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *this;
}

CArgs& CArgs::NullStr()
{
    Add(VT_BSTR).bstrVal = nullptr;
    return *this;
}

CArgs& CArgs::Int(LONG number)
{
    Add(VT_I4).lVal = number;
    return *this;
}

std::string Gbk(const char* utf8)
{
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    char narrow[512] = {};
    WideCharToMultiByte(936, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

size_t ClientLogSize()
{
    std::string bytes;
    TestSupport::ReadFileBytes(LogPath(), bytes);
    return bytes.size();
}

std::vector<std::string> ClientLogMessagesFrom(size_t offset)
{
    std::string bytes;
    TestSupport::ReadFileBytes(LogPath(), bytes);
    std::vector<std::string> messages;
    for (const std::string& line : TestSupport::SplitLines(offset < bytes.size() ? bytes.substr(offset) : ""))
    {
        if (line.compare(0, 9, "QMClient ") == 0 &&
            line.compare(kTagOffset, kPaddedTag.size(), kPaddedTag) == 0)
            messages.push_back(line.substr(kMessageOffset));
    }
    return messages;
}

std::vector<Json::Value> ReceivedReports(const TestSupport::CServiceStandIn& service)
{
    std::vector<Json::Value> reports;
    for (const std::string& message : service.Messages())
    {
        Json::Value envelope;
        Json::Value report;
        if (ParseJson(message, envelope) && ParseJson(envelope["data"].asString(), report))
            reports.push_back(report["DATAS"]);
    }
    return reports;
}

CPlatformRegistration::CPlatformRegistration()
{
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    existed = RegGetValueW(HKEY_LOCAL_MACHINE, kPlatformKey, kInstallationValue, RRF_RT_REG_SZ, nullptr,
                           value, &size) == ERROR_SUCCESS;
    saved = value;
}

CPlatformRegistration::~CPlatformRegistration()
{
    if (existed)
        Set(saved);
    else
        Remove();
}

bool CPlatformRegistration::Set(const std::wstring& folder)
{
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPlatformKey, kInstallationValue, REG_SZ, folder.c_str(),
                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool CPlatformRegistration::Remove()
{
    const LSTATUS status = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPlatformKey, kInstallationValue);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

CConfigFileBackup::CConfigFileBackup()
{
    existed = TestSupport::ReadFileBytes(Path(), saved);
}

CConfigFileBackup::~CConfigFileBackup()
{
    if (existed)
        TestSupport::WriteFileBytes(Path(), saved);
    else
        DeleteFileA(Path().c_str());
}

std::string CConfigFileBackup::Path()
{
    char path[MAX_PATH] = {};
    Qlm::GetConfigFilePath(path, sizeof(path));
    return path;
}

} // namespace PageActionSupport
