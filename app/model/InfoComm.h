#pragma once

#include <string>

namespace Model
{

// Base URL of the download host that every report names as its send
// address. Deployment data: the service forwards reports there.
extern const char* const kDownloadHostUrl;

// A report message for the client's background service: a JSON document
// naming a command, together with the address the service forwards it to.
class InfoComm
{
  public:
    InfoComm();

    virtual void Clear();
    virtual int ToJson(std::string& out) = 0;
    virtual int ParseReply(std::string reply) = 0;
    virtual void SetSendUrl(std::string url);
    virtual std::string GetSendUrl();
    virtual std::string GetCommand();

  protected:
    // Reports are never deleted through the base, so its destructor stays
    // non-virtual; the concrete message declares its own virtual one.
    ~InfoComm() = default;

    std::string sendUrl;
};

} // namespace Model
