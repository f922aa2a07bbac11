#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

// The ad-display settings kept in "data.xml". The program interprets none of
// them: it reads all seven and writes them back, changing only NotShowToday.
struct AdConfigInfo
{
    std::string ShowAdTime;
    std::string SearchADTime;
    int32_t MaxSendADay = 0;
    std::string LastPopTime;
    int32_t PopCount = 0;
    std::string LastShowKey;
    int32_t NotShowToday = 0;
};

// Writes the path of "data.xml" ("...\Quillmarsh\Config\data.xml" in the
// common application-data folder, folders created when missing) into a
// caller's buffer; false (and an empty buffer) when it cannot be built or
// does not fit.
bool GetConfigFilePath(char* buffer, size_t size);

// Owner of the client configuration file "data.xml": one per process.
class CDataManage
{
  public:
    static CDataManage& GetInstance();

    CDataManage();
    CDataManage(const CDataManage&) = delete;
    CDataManage& operator=(const CDataManage&) = delete;
    virtual ~CDataManage();

    void Init();
    void LoadAdConfig(AdConfigInfo& info);
    void SaveAdConfig(const AdConfigInfo& info);
    TiXmlElement* FindConfigNode(const char* name);
    void SetConfigString(const char* name, const std::string& value);
    void SetConfigInt(const char* name, int32_t value);

    CRITICAL_SECTION lock;
    std::unique_ptr<TiXmlDocument> document;
    TiXmlElement* datasElement = nullptr;
    TiXmlElement* configsElement = nullptr;
    TiXmlElement* adInfoElement = nullptr;
    AdConfigInfo settings;

  private:
    void OpenExisting();
    void CreateEmpty();
    bool Save();
    TiXmlElement* ConfigElement(const char* name);
    void ReadString(const char* name, const char* fallback, std::string& field);
    void ReadInt(const char* name, int32_t fallback, int32_t& field);

    // False while the document stands for a file that exists but could not
    // be read: saving it then would overwrite settings that were never seen.
    bool saveAllowed = true;
};
