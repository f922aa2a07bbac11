#include "app/launcher/PopUpReport.h"

#include "app/client/ClientRegistry.h"
#include "app/launcher/LaunchContext.h"
#include "app/launcher/NarrowText.h"
#include "app/service/ServiceCommManage.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace
{

// Reports always carry this ad type and user id.
constexpr int32_t kPopUpAdType = 2;
constexpr int32_t kReportUserId = 0;

// Every report goes to the service as message type 0.
constexpr int32_t kReportMessageType = 0;

// "yyyymmddhhmmss", always 14 digits.
std::string LocalTimeStamp()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32] = {};
    snprintf(stamp, sizeof(stamp), "%04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    return stamp;
}

} // namespace

void SendPopUpReport(Model::AdActionType action)
{
    const CLaunchContext& context = CLaunchContext::GetInstance();
    Model::InfoCommClientAdPopUpResult report;
    report.userid = kReportUserId;
    report.ADType = kPopUpAdType;
    report.actionType = action;
    report.SetChannel(WideToAnsi(context.channel));
    report.SetADKeyID(WideToAnsi(context.adKeyId));
    report.SetTime(LocalTimeStamp());
    std::string uuid;
    GetUserID(uuid);
    report.SetUUID(uuid);

    std::string json;
    report.ToJson(json);
    CServiceCommManage::GetInstance().SendToService(kReportMessageType, report.GetSendUrl(), json);
}
