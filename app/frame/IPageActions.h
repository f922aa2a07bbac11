#pragma once

#include "app/model/InfoCommClientAdPopUpResult.h"

#include <windows.h>

#include <string>

namespace Qlm
{

// What the page's script bridge needs from the program around it, and no
// more: the launcher implements it over its service channel, launch context,
// platform link and data store, and outlives every bridge object it is
// given to.
class IPageActions
{
  public:
    // Tells the service what the user did: a pop-up result report with the
    // action, sent whatever becomes of it.
    virtual void SendReport(Model::AdActionType action) = 0;

    // The frame's window, which a page action closes; null while there is
    // none.
    virtual HWND FrameWindow() const = 0;

    // Starts the client platform program; false when it is not installed or
    // does not start.
    virtual bool StartPlatform() = 0;

    // Hands the running platform a download command (narrow texts); false
    // when it did not accept it.
    virtual bool SendPlatformCommand(const std::string& code, const std::string& parameter) = 0;

    // Records that the user wants no more ads today: a process listening on
    // the event "NotShowToday" is told, or else the client configuration
    // keeps it.
    virtual void RecordNotShowToday() = 0;

  protected:
    // Not deleted through the interface: the launcher owns the object.
    ~IPageActions() = default;
};

} // namespace Qlm
