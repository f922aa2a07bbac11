#include "app/launcher/PopUpReport.h"

#include "app/client/ClientRegistry.h"
#include "app/client/NarrowText.h"
#include "app/client/TimeStamps.h"
#include "app/launcher/LaunchContext.h"
#include "app/service/ServiceCommManage.h"

#include <string>

namespace Qlm
{

namespace
{

// Reports always carry this ad type and user id.
constexpr int32_t kPopUpAdType = 2;
constexpr int32_t kReportUserId = 0;

// Every report goes to the service as message type 0.
constexpr int32_t kReportMessageType = 0;

} // namespace

void SendPopUpReport(const CLaunchContext& context, CServiceCommManage& service, Model::AdActionType action)
{
    Model::InfoCommClientAdPopUpResult report;
    report.userid = kReportUserId;
    report.ADType = kPopUpAdType;
    report.actionType = action;
    report.SetChannel(WideToAnsi(context.Channel()));
    report.SetADKeyID(WideToAnsi(context.AdKeyId()));
    report.SetTime(CompactTimeStamp(LocalNow()));
    std::string uuid;
    GetUserID(uuid);
    report.SetUUID(uuid);

    std::string json;
    report.ToJson(json);
    service.SendToService(kReportMessageType, report.GetSendUrl(), json);
}

} // namespace Qlm
