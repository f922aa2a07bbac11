#include "app/model/CompactJson.h"

#include <json/writer.h>

#include <memory>
#include <sstream>

namespace Model
{

std::string WriteCompactJson(const Json::Value& document)
{
    // JsonCpp's FastWriter would decode the text as UTF-8 and escape it as
    // \u sequences, which turns ANSI (for example GBK) bytes into wrong
    // characters. The builder's emitUTF8 mode copies them as they are and
    // otherwise writes the same compact form.
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    builder["commentStyle"] = "None";
    const std::unique_ptr<Json::StreamWriter> writer(builder.newStreamWriter());
    std::ostringstream out;
    writer->write(document, &out);
    out << '\n';
    return out.str();
}

} // namespace Model
