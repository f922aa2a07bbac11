// "NotShowToday" run in a page driver process of its own, because the
// program keeps the event open once it has made it: with and without another
// process listening on the event.
#include "tests/app/frame/PageActionSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PageActionSupport;
using namespace TestSupport;

namespace
{

const char kEventName[] = "NotShowToday";

const char kSettingsNotYetChosen[] = "<?xml version=\"1.0\" encoding=\"gb2312\" standalone=\"yes\" ?>\n"
                                     "<ServiceDataInfo>\n"
                                     "    <Datas />\n"
                                     "    <Configs>\n"
                                     "        <PopCount value=\"5\" />\n"
                                     "        <NotShowToday value=\"0\" />\n"
                                     "    </Configs>\n"
                                     "    <AdInfo />\n"
                                     "</ServiceDataInfo>\n";

class NotShowToday : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(service.Start()); }

    // Runs the page driver's "NotShowToday" and returns what it printed.
    std::string RunDriver()
    {
        CChildProcess driver;
        EXPECT_TRUE(driver.Start(BinFolder() + "\\PageDriver.exe", "--key k-4 --channel c-4 NotShowToday",
                                 scratch.File("driver.txt")));
        EXPECT_TRUE(driver.Wait(20000));
        EXPECT_EQ(0u, driver.ExitCode());
        std::string output;
        ReadFileBytes(scratch.File("driver.txt"), output);
        return output;
    }

    static std::string ConfigText()
    {
        std::string text;
        ReadFileBytes(CConfigFileBackup::Path(), text);
        return text;
    }

    void ExpectReports(size_t count)
    {
        ASSERT_TRUE(service.WaitForMessages(count));
        const std::vector<Json::Value> reports = ReceivedReports(service);
        ASSERT_EQ(count, reports.size());
        for (const Json::Value& report : reports)
        {
            EXPECT_EQ(4, report["actionType"].asInt());
            EXPECT_EQ(2, report["ADType"].asInt());
            EXPECT_EQ(0, report["userid"].asInt());
            EXPECT_EQ("k-4", report["ADKeyID"].asString());
        }
    }

    CConfigFileBackup configBackup;
    CServiceStandIn service;
    CScratchFolder scratch;
};

const char kClosed[] = "frame: received WM_CLOSE 1 time(s)";

} // namespace

TEST_F(NotShowToday, WithoutAListenerTheSettingIsWrittenEveryRun)
{
    ASSERT_TRUE(WriteFileBytes(CConfigFileBackup::Path(), kSettingsNotYetChosen));
    EXPECT_NE(std::string::npos, RunDriver().find(kClosed));
    const std::string written = ConfigText();
    EXPECT_NE(std::string::npos, written.find("<NotShowToday value=\"1\" />")) << written;
    EXPECT_NE(std::string::npos, written.find("<PopCount value=\"5\" />")) << written;

    // The event ended with that process: the next run makes it afresh and
    // writes again.
    ASSERT_TRUE(WriteFileBytes(CConfigFileBackup::Path(), kSettingsNotYetChosen));
    EXPECT_NE(std::string::npos, RunDriver().find(kClosed));
    EXPECT_NE(std::string::npos, ConfigText().find("<NotShowToday value=\"1\" />"));
    ExpectReports(2);
}

TEST_F(NotShowToday, WithoutAConfigurationFileOneIsCreated)
{
    DeleteFileA(CConfigFileBackup::Path().c_str());
    EXPECT_NE(std::string::npos, RunDriver().find(kClosed));
    EXPECT_NE(std::string::npos, ConfigText().find("<NotShowToday value=\"1\" />"));
    ExpectReports(1);
}

TEST_F(NotShowToday, AListenerIsSignalledAndTheFileLeftAlone)
{
    ASSERT_TRUE(WriteFileBytes(CConfigFileBackup::Path(), kSettingsNotYetChosen));
    const HANDLE listener = CreateEventA(nullptr, FALSE, FALSE, kEventName);
    ASSERT_NE(nullptr, listener);
    ASSERT_NE(ERROR_ALREADY_EXISTS, GetLastError());
    EXPECT_NE(std::string::npos, RunDriver().find(kClosed));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(listener, 0));
    CloseHandle(listener);
    EXPECT_EQ(kSettingsNotYetChosen, ConfigText());
    ExpectReports(1);
}
