#pragma once

#include "app/frame/IPageActions.h"
#include "veneer/core/ScopedHandle.h"

namespace Qlm
{

class CDataManage;
class CLaunchContext;
class CPlatformLink;
class CServiceCommManage;

// The page's actions as the launcher carries them out: reports through the
// service channel, the platform through the platform link, the "not today"
// choice through the named event or the data store. It keeps nothing of its
// own but the event, which stays open as long as the object: a second
// request then finds it and only signals it.
class CPageActions final : public IPageActions
{
  public:
    // Everything given must outlive the object.
    CPageActions(const CLaunchContext& context, CServiceCommManage& service, CPlatformLink& platform,
                 CDataManage& dataStore);
    CPageActions(const CPageActions&) = delete;
    CPageActions& operator=(const CPageActions&) = delete;

    void SendReport(Model::AdActionType action) override;
    HWND FrameWindow() const override;
    bool StartPlatform() override;
    bool SendPlatformCommand(const std::string& code, const std::string& parameter) override;
    void RecordNotShowToday() override;

  private:
    const CLaunchContext& m_context;
    CServiceCommManage& m_service;
    CPlatformLink& m_platform;
    CDataManage& m_dataStore;
    Veneer::CScopedHandle m_notShowTodayEvent;
};

} // namespace Qlm
