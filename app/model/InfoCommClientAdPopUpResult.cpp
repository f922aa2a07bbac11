#include "app/model/InfoCommClientAdPopUpResult.h"

#include "app/model/CompactJson.h"

#include <json/reader.h>
#include <json/value.h>

#include <exception>
#include <utility>

namespace Model
{

void InfoCommClientAdPopUpResult::Clear()
{
    ADKeyID.clear();
    channel.clear();
    time.clear();
    uuid.clear();
    userid = 0;
    ADType = 0;
    actionType = 0;
}

int InfoCommClientAdPopUpResult::ToJson(std::string& out)
{
    out.clear();
    Json::Value datas(Json::objectValue);
    datas["time"] = time;
    datas["ADKeyID"] = ADKeyID;
    datas["ADType"] = ADType;
    datas["channel"] = channel;
    datas["uuid"] = uuid;
    datas["userid"] = userid;
    datas["actionType"] = actionType;

    Json::Value root(Json::objectValue);
    root["COMMAND"] = GetCommand();
    root["DATAS"] = datas;
    out = WriteCompactJson(root);
    return 0;
}

int InfoCommClientAdPopUpResult::ParseReply(std::string reply)
{
    if (reply.empty())
        return kReplyEmpty;

    Json::Value root;
    Json::Reader reader;
    try
    {
        // JsonCpp throws on documents nested deeper than its stack limit;
        // a hostile reply must not end the process.
        if (!reader.parse(reply, root, true))
            return kReplyNotJson;
    }
    catch (const std::exception&)
    {
        return kReplyNotJson;
    }
    if (!root.isObject())
        return kReplyNotJson;

    const Json::Value value = root.get("RESULT", Json::Value());
    // asInt() throws on strings, objects and numbers outside the int range,
    // so anything that is not an integer counts as no usable result.
    if (value.isNull() || !value.isInt())
        return kReplyNoResult;
    result = value.asInt();
    return kReplyOk;
}

std::string InfoCommClientAdPopUpResult::GetCommand()
{
    return "ClientAdPopUpResult";
}

void InfoCommClientAdPopUpResult::SetADKeyID(std::string value)
{
    ADKeyID = std::move(value);
}

void InfoCommClientAdPopUpResult::SetChannel(std::string value)
{
    channel = std::move(value);
}

void InfoCommClientAdPopUpResult::SetTime(std::string value)
{
    time = std::move(value);
}

void InfoCommClientAdPopUpResult::SetUUID(std::string value)
{
    uuid = std::move(value);
}

} // namespace Model
