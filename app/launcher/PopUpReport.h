#pragma once

#include "app/model/InfoCommClientAdPopUpResult.h"

namespace Qlm
{

class CLaunchContext;
class CServiceCommManage;

// Tells the service what happened to the pop-up: a "ClientAdPopUpResult"
// report with the given action, the launch context's key and channel, the
// local time and the machine's user identity, sent through the service
// channel. Whether it arrived is not reported: the pop-up goes on (or ends)
// the same either way.
void SendPopUpReport(const CLaunchContext& context, CServiceCommManage& service, Model::AdActionType action);

} // namespace Qlm
