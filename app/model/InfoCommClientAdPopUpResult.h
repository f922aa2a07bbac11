#pragma once

#include "app/model/InfoComm.h"

#include <cstdint>
#include <string>

namespace Model
{

// Action codes carried in "actionType".
enum AdActionType : int32_t
{
    kAdActionShown = 0,
    kAdActionShowUrl = 1,
    kAdActionDownload = 2,
    kAdActionClose = 3,
    kAdActionNotShowToday = 4,
};

// "ClientAdPopUpResult": the pop-up was shown, or what the user did with it.
class InfoCommClientAdPopUpResult : public InfoComm
{
  public:
    // Status codes of ParseReply.
    enum ReplyStatus
    {
        kReplyOk = 0,
        kReplyNotJson = 1,
        kReplyNoResult = 2,
        kReplyEmpty = 3,
    };

    void Clear() override;
    int ToJson(std::string& out) override;
    int ParseReply(std::string reply) override;
    std::string GetCommand() override;
    virtual ~InfoCommClientAdPopUpResult() = default;

    void SetADKeyID(std::string value);
    void SetChannel(std::string value);
    void SetTime(std::string value);
    void SetUUID(std::string value);

    int32_t result = 0;
    std::string ADKeyID;
    std::string channel;
    std::string time;
    std::string uuid;
    int32_t userid = 0;
    int32_t ADType = 0;
    int32_t actionType = 0;
};

} // namespace Model
