#include "app/client/DataManage.h"

#include "app/client/ClientFolders.h"
#include "app/client/ClientLog.h"
#include "app/client/XmlNesting.h"

#include <shlwapi.h>
#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <io.h>

namespace
{

constexpr size_t kPathSize = 260;

// data.xml is three levels deep; anything far deeper is not a configuration
// file but would run TinyXML's recursive parser out of stack.
constexpr size_t kMaxConfigDepth = 256;

const char kRootName[] = "ServiceDataInfo";

class CLockHolder
{
  public:
    explicit CLockHolder(CRITICAL_SECTION& lock) : section(lock) { EnterCriticalSection(&section); }
    CLockHolder(const CLockHolder&) = delete;
    CLockHolder& operator=(const CLockHolder&) = delete;
    ~CLockHolder() { LeaveCriticalSection(&section); }

  private:
    CRITICAL_SECTION& section;
};

struct CFileCloser
{
    void operator()(FILE* file) const { fclose(file); }
};
using CFileHolder = std::unique_ptr<FILE, CFileCloser>;

bool ReadWholeFile(const std::string& path, std::string& text)
{
    CFileHolder file(fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), file.get())) > 0)
        text.append(chunk, got);
    return ferror(file.get()) == 0;
}

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    CFileHolder file(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const bool written = fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return fclose(file.release()) == 0 && written;
}

// Keeps the bytes of a file that could not be used as it stands, beside it,
// before the file is rewritten: nothing the parser could not read is lost.
void KeepDamagedCopy(const std::string& path, const std::string& text)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32] = {};
    snprintf(stamp, sizeof(stamp), ".damaged-%04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    const std::string copy = path + stamp;
    if (WriteWholeFile(copy, text))
        WriteLog("QLMNews", "data.xml is damaged; its old content is kept in %s", copy.c_str());
    else
        WriteLog("QLMNews", "data.xml is damaged and its old content could not be kept");
}

// Writes the document to a sibling file and moves that over the old file,
// so that a crash or power loss during a save never leaves a truncated file.
bool SaveReplacing(const TiXmlDocument& document, const std::string& path)
{
    // Replacing a file by a move ignores its read-only mark on some systems;
    // a file the user made read-only stays as it is everywhere.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    bool written = false;
    {
        CFileHolder file(fopen(temporary.c_str(), "w"));
        if (!file)
            return false;
        written =
            document.SaveFile(file.get()) && fflush(file.get()) == 0 && _commit(_fileno(file.get())) == 0;
        written = fclose(file.release()) == 0 && written;
    }
    if (written &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

// Reads a decimal integer as "%d" does: leading blanks, an optional sign and
// at least one digit; what follows the digits is ignored. Values beyond the
// 32-bit range are clamped instead of being undefined.
bool ParseDecimal(const char* text, int32_t& value)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (!std::isdigit(static_cast<unsigned char>(*text)))
        return false;
    long long magnitude = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
        magnitude = std::min(magnitude * 10 + (*text - '0'), static_cast<long long>(INT_MAX) + 1);
    const long long signedValue =
        negative ? -magnitude : std::min(magnitude, static_cast<long long>(INT_MAX));
    value = static_cast<int32_t>(signedValue);
    return true;
}

TiXmlElement* ChildOrNew(TiXmlNode& parent, const char* name)
{
    TiXmlElement* child = parent.FirstChildElement(name);
    if (child == nullptr)
        child = parent.LinkEndChild(new TiXmlElement(name))->ToElement();
    return child;
}

} // namespace

bool GetConfigFilePath(char* buffer, size_t size)
{
    const std::string folder = ClientSubFolder("Config");
    if (folder.empty())
    {
        CopyToBuffer(std::string(), buffer, size);
        return false;
    }
    return CopyToBuffer(folder + "\\data.xml", buffer, size);
}

CDataManage& CDataManage::GetInstance()
{
    static CDataManage instance;
    return instance;
}

CDataManage::CDataManage()
{
    InitializeCriticalSection(&lock);
}

CDataManage::~CDataManage()
{
    {
        CLockHolder hold(lock);
        Save();
        document.reset();
    }
    DeleteCriticalSection(&lock);
}

void CDataManage::Init()
{
    char path[kPathSize] = {};
    GetConfigFilePath(path, sizeof(path));
    {
        CLockHolder hold(lock);
        document = std::make_unique<TiXmlDocument>(path);
        datasElement = configsElement = adInfoElement = nullptr;
        saveAllowed = true;
        if (path[0] != '\0' && PathFileExistsA(path))
            OpenExisting();
        else
            CreateEmpty();
    }
    LoadAdConfig(settings);
    Save();
}

void CDataManage::OpenExisting()
{
    const std::string path = document->Value();
    std::string text;
    if (!ReadWholeFile(path, text))
    {
        // The file is there but cannot be read (held open by another
        // process, or no access): writing over it would lose its settings.
        saveAllowed = false;
        WriteLog("QLMNews", "data.xml cannot be read; it is left as it is");
    }
    else
    {
        // The parser reads exactly the text that was measured.
        const std::string input = TinyXmlInput(text);
        if (MaxElementDepth(input) > kMaxConfigDepth)
        {
            // Nothing of it is parsed, so the file starts afresh.
            KeepDamagedCopy(path, text);
            CreateEmpty();
            return;
        }
        // What the parser read stays in use even if the file is damaged;
        // the missing elements are added below.
        document->Parse(input.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        if (document->Error() && !text.empty())
            KeepDamagedCopy(path, text);
    }

    TiXmlElement* root = document->FirstChildElement();
    if (root == nullptr)
        root = document->LinkEndChild(new TiXmlElement(kRootName))->ToElement();
    datasElement = ChildOrNew(*root, "Datas");
    configsElement = ChildOrNew(*root, "Configs");
    adInfoElement = ChildOrNew(*root, "AdInfo");
}

void CDataManage::CreateEmpty()
{
    document->LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", "yes"));
    TiXmlNode* root = document->LinkEndChild(new TiXmlElement(kRootName));
    datasElement = root->LinkEndChild(new TiXmlElement("Datas"))->ToElement();
    configsElement = root->LinkEndChild(new TiXmlElement("Configs"))->ToElement();
    adInfoElement = root->LinkEndChild(new TiXmlElement("AdInfo"))->ToElement();
}

bool CDataManage::Save()
{
    CLockHolder hold(lock);
    if (!document || !saveAllowed || document->ValueStr().empty())
        return false;
    return SaveReplacing(*document, document->ValueStr());
}

void CDataManage::LoadAdConfig(AdConfigInfo& info)
{
    ReadString("ShowAdTime", "* * * * *", info.ShowAdTime);
    ReadString("SearchADTime", "* * * * *", info.SearchADTime);
    ReadInt("MaxSendADay", 3, info.MaxSendADay);
    ReadString("LastPopTime", "", info.LastPopTime);
    ReadInt("PopCount", 0, info.PopCount);
    ReadInt("NotShowToday", 0, info.NotShowToday);
    ReadString("LastShowKey", "", info.LastShowKey);
}

void CDataManage::SaveAdConfig(const AdConfigInfo& info)
{
    SetConfigString("ShowAdTime", info.ShowAdTime);
    SetConfigString("SearchADTime", info.SearchADTime);
    SetConfigInt("MaxSendADay", info.MaxSendADay);
    SetConfigString("LastPopTime", info.LastPopTime);
    SetConfigInt("PopCount", info.PopCount);
    SetConfigString("LastShowKey", info.LastShowKey);
    SetConfigInt("NotShowToday", info.NotShowToday);
    Save();
}

TiXmlElement* CDataManage::FindConfigNode(const char* name)
{
    CLockHolder hold(lock);
    return configsElement == nullptr ? nullptr : configsElement->FirstChildElement(name);
}

void CDataManage::SetConfigString(const char* name, const std::string& value)
{
    CLockHolder hold(lock);
    if (TiXmlElement* element = ConfigElement(name))
        element->SetAttribute("value", value.c_str());
}

void CDataManage::SetConfigInt(const char* name, int32_t value)
{
    CLockHolder hold(lock);
    if (TiXmlElement* element = ConfigElement(name))
        element->SetAttribute("value", value);
}

TiXmlElement* CDataManage::ConfigElement(const char* name)
{
    TiXmlElement* element = FindConfigNode(name);
    if (element == nullptr && configsElement != nullptr)
        element = configsElement->LinkEndChild(new TiXmlElement(name))->ToElement();
    return element;
}

void CDataManage::ReadString(const char* name, const char* fallback, std::string& field)
{
    CLockHolder hold(lock);
    const TiXmlElement* element = FindConfigNode(name);
    // An element without its "value" attribute reads like a missing one.
    const char* value = element == nullptr ? nullptr : element->Attribute("value");
    field = value == nullptr ? fallback : value;
}

void CDataManage::ReadInt(const char* name, int32_t fallback, int32_t& field)
{
    CLockHolder hold(lock);
    const TiXmlElement* element = FindConfigNode(name);
    if (element == nullptr)
    {
        field = fallback;
        return;
    }
    // A missing or non-numeric value keeps what the field held before.
    const char* value = element->Attribute("value");
    if (value != nullptr)
        ParseDecimal(value, field);
}
