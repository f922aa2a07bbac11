// "data.xml": created from nothing, read with defaults, written back in the
// printer's exact form, and kept safe when it is damaged or unusable.
#include "app/client/DataManage.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <tinyxml.h>

#include <climits>
#include <string>
#include <vector>

using namespace TestSupport;
using Qlm::AdConfigInfo;
using Qlm::CDataManage;
using Qlm::GetConfigFilePath;

namespace
{

std::string ClientFolder()
{
    char common[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_APPDATA, FALSE);
    return std::string(common) + "\\Quillmarsh";
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Moves the machine's "Config" folder aside for each test and puts it back.
class DataFile : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        backup = configFolder + ".testbackup";
        RemoveFolderTree(backup);
        hadConfig = MoveFileA(configFolder.c_str(), backup.c_str()) != FALSE;
    }
    void TearDown() override
    {
        SetFileAttributesA(dataPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveFolderTree(configFolder);
        DeleteFileA(configFolder.c_str());
        if (hadConfig)
            MoveFileA(backup.c_str(), configFolder.c_str());
    }

    void WriteDataFile(const std::string& text)
    {
        CreateDirectoryA(ClientFolder().c_str(), nullptr);
        CreateDirectoryA(configFolder.c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(dataPath, text));
    }

    std::string DataFileText()
    {
        std::string text;
        ReadFileBytes(dataPath, text);
        return text;
    }

    std::vector<std::string> DamagedCopies()
    {
        std::vector<std::string> copies;
        for (const std::string& name : FolderEntries(configFolder))
        {
            if (name.rfind("data.xml.damaged-", 0) == 0)
                copies.push_back(configFolder + "\\" + name);
        }
        return copies;
    }

    const std::string configFolder = ClientFolder() + "\\Config";
    const std::string dataPath = configFolder + "\\data.xml";
    std::string backup;
    bool hadConfig = false;
};

const char kHeader[] = "<?xml version=\"1.0\" encoding=\"gb2312\" standalone=\"yes\" ?>";

} // namespace

TEST_F(DataFile, CreatedFromNothingThenNotShowTodayWritesTheFourteenLines)
{
    CDataManage store;
    store.Init();
    EXPECT_EQ((std::vector<std::string>{kHeader, "<ServiceDataInfo>", "    <Datas />", "    <Configs />",
                                        "    <AdInfo />", "</ServiceDataInfo>"}),
              SplitLines(DataFileText()));

    AdConfigInfo info;
    store.LoadAdConfig(info);
    EXPECT_EQ("* * * * *", info.ShowAdTime);
    EXPECT_EQ("* * * * *", info.SearchADTime);
    EXPECT_EQ(3, info.MaxSendADay);
    EXPECT_EQ("", info.LastPopTime);
    EXPECT_EQ(0, info.PopCount);
    EXPECT_EQ("", info.LastShowKey);
    EXPECT_EQ(0, info.NotShowToday);

    info.NotShowToday = 1;
    store.SaveAdConfig(info);
    EXPECT_EQ((std::vector<std::string>{
                  kHeader, "<ServiceDataInfo>", "    <Datas />", "    <Configs>",
                  "        <ShowAdTime value=\"* * * * *\" />",
                  "        <SearchADTime value=\"* * * * *\" />", "        <MaxSendADay value=\"3\" />",
                  "        <LastPopTime value=\"\" />", "        <PopCount value=\"0\" />",
                  "        <LastShowKey value=\"\" />", "        <NotShowToday value=\"1\" />",
                  "    </Configs>", "    <AdInfo />", "</ServiceDataInfo>"}),
              SplitLines(DataFileText()));
    // The save went through a sibling file that is gone again.
    EXPECT_EQ(std::vector<std::string>{"data.xml"}, FolderEntries(configFolder));
}

TEST_F(DataFile, PresentSettingsAreReadAndMissingOnesTakeTheirDefaults)
{
    WriteDataFile("<ServiceDataInfo><Configs><PopCount value=\"5\" /><LastShowKey value=\"k9\" />"
                  "<MaxSendADay value=\"3x\" /></Configs></ServiceDataInfo>");
    CDataManage store;
    store.Init();
    EXPECT_EQ(5, store.Settings().PopCount);
    EXPECT_EQ("k9", store.Settings().LastShowKey);
    EXPECT_EQ(3, store.Settings().MaxSendADay);
    EXPECT_EQ(0, store.Settings().NotShowToday);
    EXPECT_EQ("* * * * *", store.Settings().ShowAdTime);
}

TEST_F(DataFile, UnreadableIntegersKeepTheFieldsPreviousValue)
{
    WriteDataFile("<ServiceDataInfo><Configs><MaxSendADay value=\"abc\" /><PopCount />"
                  "<NotShowToday value=\" -7\" /></Configs></ServiceDataInfo>");
    CDataManage store;
    store.Init();
    AdConfigInfo fresh;
    store.LoadAdConfig(fresh);
    EXPECT_EQ(0, fresh.MaxSendADay);
    EXPECT_EQ(0, fresh.PopCount);
    EXPECT_EQ(-7, fresh.NotShowToday);
    AdConfigInfo used;
    used.MaxSendADay = 11;
    used.PopCount = 12;
    store.LoadAdConfig(used);
    EXPECT_EQ(11, used.MaxSendADay);
    EXPECT_EQ(12, used.PopCount);
}

TEST_F(DataFile, OutOfRangeIntegersAreClampedInsteadOfUndefined)
{
    WriteDataFile("<ServiceDataInfo><Configs><PopCount value=\"99999999999999999999\" />"
                  "<MaxSendADay value=\"-99999999999\" /></Configs></ServiceDataInfo>");
    CDataManage store;
    store.Init();
    EXPECT_EQ(INT_MAX, store.Settings().PopCount);
    EXPECT_EQ(INT_MIN, store.Settings().MaxSendADay);
}

TEST_F(DataFile, StringSettingWithoutItsValueReadsAsMissing)
{
    WriteDataFile(
        "<ServiceDataInfo><Configs><ShowAdTime /><LastPopTime other=\"1\" /></Configs></ServiceDataInfo>");
    CDataManage store;
    store.Init();
    EXPECT_EQ("* * * * *", store.Settings().ShowAdTime);
    EXPECT_EQ("", store.Settings().LastPopTime);
}

TEST_F(DataFile, ForeignRootElementReceivesTheThreeSections)
{
    WriteDataFile("<Other><Keep a=\"1\" /></Other>");
    CDataManage store;
    store.Init();
    EXPECT_EQ((std::vector<std::string>{"<Other>", "    <Keep a=\"1\" />", "    <Datas />", "    <Configs />",
                                        "    <AdInfo />", "</Other>"}),
              SplitLines(DataFileText()));
}

TEST_F(DataFile, SaveAppendsMissingSettingsInWriteOrderAfterExistingOnes)
{
    WriteDataFile("<ServiceDataInfo><Configs><Extra value=\"e\" /><PopCount value=\"2\" /></Configs>"
                  "</ServiceDataInfo>");
    CDataManage store;
    store.Init();
    AdConfigInfo info = store.Settings();
    store.SaveAdConfig(info);
    TiXmlDocument saved;
    ASSERT_TRUE(saved.LoadFile(dataPath.c_str()));
    std::vector<std::string> order;
    const TiXmlElement* configs = saved.RootElement()->FirstChildElement("Configs");
    for (const TiXmlElement* child = configs->FirstChildElement(); child; child = child->NextSiblingElement())
        order.push_back(child->Value());
    EXPECT_EQ((std::vector<std::string>{"Extra", "PopCount", "ShowAdTime", "SearchADTime", "MaxSendADay",
                                        "LastPopTime", "LastShowKey", "NotShowToday"}),
              order);
    EXPECT_STREQ("2", configs->FirstChildElement("PopCount")->Attribute("value"));
    EXPECT_STREQ("e", configs->FirstChildElement("Extra")->Attribute("value"));
}

TEST_F(DataFile, DamagedFileKeepsWhatWasReadAndItsBytesBesideIt)
{
    const std::string damaged = "<ServiceDataInfo><Configs><PopCount value=\"5\" /><Broken";
    WriteDataFile(damaged);
    CDataManage store;
    store.Init();
    EXPECT_EQ(5, store.Settings().PopCount);
    const std::vector<std::string> copies = DamagedCopies();
    ASSERT_EQ(1u, copies.size());
    std::string kept;
    ReadFileBytes(copies[0], kept);
    EXPECT_EQ(damaged, kept);
    TiXmlDocument rewritten;
    EXPECT_TRUE(rewritten.LoadFile(dataPath.c_str()));
}

TEST_F(DataFile, NonXmlFileIsKeptAndReplacedByAFreshTree)
{
    const std::string garbage("\x00\x01\xFF garbage <<< >>>", 20);
    WriteDataFile(garbage);
    CDataManage store;
    store.Init();
    EXPECT_EQ(3, store.Settings().MaxSendADay);
    const std::vector<std::string> copies = DamagedCopies();
    ASSERT_EQ(1u, copies.size());
    std::string kept;
    ReadFileBytes(copies[0], kept);
    EXPECT_EQ(garbage, kept);
    TiXmlDocument rewritten;
    ASSERT_TRUE(rewritten.LoadFile(dataPath.c_str()));
    EXPECT_NE(nullptr, rewritten.RootElement()->FirstChildElement("Configs"));
}

TEST_F(DataFile, DeeplyNestedFileIsSetAsideWithoutRunningTheParser)
{
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    // Plain nesting, and nesting behind constructs that end at their first
    // '>' whatever quotes or "?>" come later.
    const std::string files[] = {deep, "<?x>" + deep + "?>", "<1 '>" + deep + "'"};
    for (const std::string& file : files)
    {
        for (const std::string& copy : DamagedCopies())
            DeleteFileA(copy.c_str());
        WriteDataFile(file);
        CDataManage store;
        store.Init();
        EXPECT_EQ(1u, DamagedCopies().size()) << file.substr(0, 8);
        EXPECT_EQ(6u, SplitLines(DataFileText()).size()) << file.substr(0, 8);
    }
}

TEST_F(DataFile, UnusableConfigFolderCostsNothingButTheSave)
{
    // A file where the folder should be: the folder cannot be created.
    CreateDirectoryA(ClientFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(configFolder, "not a folder"));
    CDataManage store;
    store.Init();
    EXPECT_EQ(3, store.Settings().MaxSendADay);
    AdConfigInfo info = store.Settings();
    info.NotShowToday = 1;
    store.SaveAdConfig(info);
    std::string blocker;
    ReadFileBytes(configFolder, blocker);
    EXPECT_EQ("not a folder", blocker);
}

TEST_F(DataFile, FileThatCouldNotBeReadIsNeverOverwritten)
{
    const std::string original =
        "<ServiceDataInfo><Configs><PopCount value=\"5\" /></Configs></ServiceDataInfo>";
    WriteDataFile(original);
    // Opened without sharing while the store reads it, as a service might
    // hold it during its own write, and released before the store saves.
    const HANDLE held = CreateFileA(dataPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    {
        CDataManage store;
        store.Init();
        CloseHandle(held);
        AdConfigInfo info = store.Settings();
        info.NotShowToday = 1;
        store.SaveAdConfig(info);
    }
    EXPECT_EQ(original, DataFileText());
}

TEST_F(DataFile, ReadOnlyFileIsLeftAsItWas)
{
    const std::string original =
        "<ServiceDataInfo><Configs><PopCount value=\"5\" /></Configs></ServiceDataInfo>";
    WriteDataFile(original);
    ASSERT_TRUE(SetFileAttributesA(dataPath.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        CDataManage store;
        store.Init();
        EXPECT_EQ(5, store.Settings().PopCount);
        AdConfigInfo info = store.Settings();
        info.NotShowToday = 1;
        store.SaveAdConfig(info);
    }
    EXPECT_EQ(original, DataFileText());
    EXPECT_EQ(std::vector<std::string>{"data.xml"}, FolderEntries(configFolder));
}

TEST_F(DataFile, DestructionSavesTheDocument)
{
    {
        CDataManage store;
        store.Init();
        store.SetConfigInt("PopCount", 4);
        EXPECT_EQ(std::string::npos, DataFileText().find("PopCount"));
    }
    EXPECT_NE(std::string::npos, DataFileText().find("<PopCount value=\"4\" />"));
}

TEST(ConfigFilePath, TooSmallBufferYieldsFalseAndAnEmptyText)
{
    char path[260] = {};
    ASSERT_TRUE(GetConfigFilePath(path, sizeof(path)));
    EXPECT_NE(nullptr, strstr(path, "\\Quillmarsh\\Config\\data.xml"));
    char small[8] = "xxxxxxx";
    EXPECT_FALSE(GetConfigFilePath(small, sizeof(small)));
    EXPECT_STREQ("", small);
}
