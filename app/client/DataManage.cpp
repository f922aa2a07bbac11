#include "app/client/DataManage.h"

#include "app/client/ClientFolders.h"
#include "app/client/ClientLog.h"
#include "app/client/FileBytes.h"
#include "app/client/TimeStamps.h"
#include "app/client/XmlNesting.h"
#include "veneer/core/ScopedHolders.h"

#include <shlwapi.h>
#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <io.h>

namespace Qlm
{

namespace
{

constexpr size_t kPathSize = 260;

// data.xml is three levels deep; anything far deeper is not a configuration
// file but would run TinyXML's recursive parser out of stack.
constexpr size_t kMaxConfigDepth = 256;

const char kRootName[] = "ServiceDataInfo";

// Keeps the bytes of a file that could not be used as it stands, beside it,
// before the file is rewritten: nothing the parser could not read is lost.
void KeepDamagedCopy(const std::string& path, const std::string& text)
{
    const std::string copy = path + ".damaged-" + CompactTimeStamp(LocalNow());
    if (WriteFileBytes(copy, text))
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
        Veneer::CScopedFile file(fopen(temporary.c_str(), "w"));
        if (!file.IsOpen())
            return false;
        written =
            document.SaveFile(file.Get()) && fflush(file.Get()) == 0 && _commit(_fileno(file.Get())) == 0;
        written = file.Close() && written;
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
    return ClientFilePath("Config", "data.xml", buffer, size);
}

CDataManage::CDataManage() = default;

CDataManage::~CDataManage()
{
    // Edits made since the last save are written when the store ends; a file
    // without such edits is left as it is, in case another process changed
    // it meanwhile.
    Veneer::CCriticalSectionLock hold(m_lock);
    if (m_unsavedEdits)
        Save();
}

void CDataManage::Init()
{
    char path[kPathSize] = {};
    GetConfigFilePath(path, sizeof(path));
    {
        Veneer::CCriticalSectionLock hold(m_lock);
        m_document = std::make_unique<TiXmlDocument>(path);
        m_datasElement = m_configsElement = m_adInfoElement = nullptr;
        m_saveAllowed = true;
        if (path[0] != '\0' && PathFileExistsA(path))
            OpenExisting();
        else
            CreateEmpty();
    }
    LoadAdConfig(m_settings);
    Save();
}

void CDataManage::OpenExisting()
{
    const std::string path = m_document->Value();
    std::string text;
    if (!ReadFileBytes(path, text))
    {
        // The file is there but cannot be read (held open by another
        // process, or no access): writing over it would lose its settings.
        m_saveAllowed = false;
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
        m_document->Parse(input.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        if (m_document->Error() && !text.empty())
            KeepDamagedCopy(path, text);
    }

    TiXmlElement* root = m_document->FirstChildElement();
    if (root == nullptr)
        root = m_document->LinkEndChild(new TiXmlElement(kRootName))->ToElement();
    m_datasElement = ChildOrNew(*root, "Datas");
    m_configsElement = ChildOrNew(*root, "Configs");
    m_adInfoElement = ChildOrNew(*root, "AdInfo");
}

void CDataManage::CreateEmpty()
{
    m_document->LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", "yes"));
    TiXmlNode* root = m_document->LinkEndChild(new TiXmlElement(kRootName));
    m_datasElement = root->LinkEndChild(new TiXmlElement("Datas"))->ToElement();
    m_configsElement = root->LinkEndChild(new TiXmlElement("Configs"))->ToElement();
    m_adInfoElement = root->LinkEndChild(new TiXmlElement("AdInfo"))->ToElement();
}

bool CDataManage::Save()
{
    Veneer::CCriticalSectionLock hold(m_lock);
    if (!m_document || !m_saveAllowed || m_document->ValueStr().empty())
        return false;
    if (!SaveReplacing(*m_document, m_document->ValueStr()))
        return false;
    m_unsavedEdits = false;
    return true;
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
    Veneer::CCriticalSectionLock hold(m_lock);
    return m_configsElement == nullptr ? nullptr : m_configsElement->FirstChildElement(name);
}

void CDataManage::SetConfigString(const char* name, const std::string& value)
{
    Veneer::CCriticalSectionLock hold(m_lock);
    if (TiXmlElement* element = ConfigElement(name))
        element->SetAttribute("value", value.c_str());
}

void CDataManage::SetConfigInt(const char* name, int32_t value)
{
    Veneer::CCriticalSectionLock hold(m_lock);
    if (TiXmlElement* element = ConfigElement(name))
        element->SetAttribute("value", value);
}

TiXmlElement* CDataManage::ConfigElement(const char* name)
{
    TiXmlElement* element = FindConfigNode(name);
    if (element == nullptr && m_configsElement != nullptr)
        element = m_configsElement->LinkEndChild(new TiXmlElement(name))->ToElement();
    // The element's value is about to change.
    if (element != nullptr)
        m_unsavedEdits = true;
    return element;
}

void CDataManage::ReadString(const char* name, const char* fallback, std::string& field)
{
    Veneer::CCriticalSectionLock hold(m_lock);
    const TiXmlElement* element = FindConfigNode(name);
    // An element without its "value" attribute reads like a missing one.
    const char* value = element == nullptr ? nullptr : element->Attribute("value");
    field = value == nullptr ? fallback : value;
}

void CDataManage::ReadInt(const char* name, int32_t fallback, int32_t& field)
{
    Veneer::CCriticalSectionLock hold(m_lock);
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

} // namespace Qlm
