#include "app/model/InfoComm.h"

#include <utility>

namespace Model
{

const char* const kDownloadHostUrl = "https://down.quillmarsh.cn/";

InfoComm::InfoComm() : sendUrl(kDownloadHostUrl) {}

void InfoComm::Clear()
{
    sendUrl = kDownloadHostUrl;
}

void InfoComm::SetSendUrl(std::string url)
{
    sendUrl = std::move(url);
}

std::string InfoComm::GetSendUrl()
{
    return sendUrl;
}

std::string InfoComm::GetCommand()
{
    return std::string();
}

} // namespace Model
