#pragma once

#include "veneer/core/ScopedHolders.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace Qlm
{

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

// Owner of the client configuration file "data.xml", made by whoever needs
// the settings and kept as long as they are used. The file is written by
// Init and SaveAdConfig, and when the store ends with edits that were not
// saved yet (SetConfigString, SetConfigInt).
class CDataManage
{
  public:
    CDataManage();
    CDataManage(const CDataManage&) = delete;
    CDataManage& operator=(const CDataManage&) = delete;
    virtual ~CDataManage();

    // Opens "data.xml" (or starts a new one), reads the settings and saves
    // the file. A second call starts again from the file.
    void Init();
    void LoadAdConfig(AdConfigInfo& info);
    void SaveAdConfig(const AdConfigInfo& info);
    TiXmlElement* FindConfigNode(const char* name);
    void SetConfigString(const char* name, const std::string& value);
    void SetConfigInt(const char* name, int32_t value);

    // The settings as Init read them.
    const AdConfigInfo& Settings() const { return m_settings; }

  private:
    void OpenExisting();
    void CreateEmpty();
    bool Save();
    TiXmlElement* ConfigElement(const char* name);
    void ReadString(const char* name, const char* fallback, std::string& field);
    void ReadInt(const char* name, int32_t fallback, int32_t& field);

    // Declared first so that it outlives the document it guards.
    Veneer::CCriticalSection m_lock;
    std::unique_ptr<TiXmlDocument> m_document;
    TiXmlElement* m_datasElement = nullptr;
    TiXmlElement* m_configsElement = nullptr;
    TiXmlElement* m_adInfoElement = nullptr;
    AdConfigInfo m_settings;

    // False while the document stands for a file that exists but could not
    // be read: saving it then would overwrite settings that were never seen.
    bool m_saveAllowed = true;
    // A setting changed since the last successful save.
    bool m_unsavedEdits = false;
};

} // namespace Qlm
