#include "tools/serviceproc/FrameCheck.h"

#include "app/model/CompactJson.h"

#include <json/reader.h>
#include <json/value.h>

#include <exception>
#include <memory>

namespace
{

bool ParseDocument(const std::string& text, Json::Value& root, std::string& problem)
{
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try
    {
        if (reader->parse(text.data(), text.data() + text.size(), &root, &errors))
            return true;
        problem = "document is not JSON: " + errors;
    }
    catch (const std::exception& error)
    {
        // JsonCpp throws on nesting deeper than its limit.
        problem = std::string("document is not JSON: ") + error.what();
    }
    return false;
}

bool CheckEnvelope(const Json::Value& root, std::string& problem)
{
    if (!root.isObject())
        problem = "document is not a JSON object";
    else if (!root["data"].isString())
        problem = "member \"data\" is missing or not a string";
    else if (!root["sendurl"].isString())
        problem = "member \"sendurl\" is missing or not a string";
    else if (!root["type"].isInt())
        problem = "member \"type\" is missing or not an integer";
    else
        return true;
    return false;
}

} // namespace

uint32_t FrameLength(const unsigned char* header)
{
    return static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8 |
           static_cast<uint32_t>(header[2]) << 16 | static_cast<uint32_t>(header[3]) << 24;
}

bool FrameLengthInBounds(uint32_t length)
{
    return length >= kMinFrameLength && length <= kMaxFrameLength;
}

bool CheckFrameBody(const std::string& body, std::string& line, std::string& problem)
{
    if (body.empty() || body.back() != '\0')
    {
        problem = "frame does not end with a zero byte";
        return false;
    }
    const std::string document = body.substr(0, body.size() - 1);
    if (document.find('\0') != std::string::npos)
    {
        problem = "document holds a zero byte";
        return false;
    }
    Json::Value root;
    if (!ParseDocument(document, root, problem) || !CheckEnvelope(root, problem))
        return false;
    line = Model::WriteCompactJson(root);
    line.pop_back();
    return true;
}
