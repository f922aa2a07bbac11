#include "app/launcher/PageActions.h"

#include "app/client/DataManage.h"
#include "app/launcher/LaunchContext.h"
#include "app/launcher/PlatformLink.h"
#include "app/launcher/PopUpReport.h"

namespace Qlm
{

namespace
{

// A process that made this event first listens for the user's choice.
const char kNotShowTodayEventName[] = "NotShowToday";

} // namespace

CPageActions::CPageActions(const CLaunchContext& context, CServiceCommManage& service,
                           CPlatformLink& platform, CDataManage& dataStore)
    : m_context(context), m_service(service), m_platform(platform), m_dataStore(dataStore)
{
}

void CPageActions::SendReport(Model::AdActionType action)
{
    SendPopUpReport(m_context, m_service, action);
}

HWND CPageActions::FrameWindow() const
{
    return m_context.FrameWnd();
}

bool CPageActions::StartPlatform()
{
    return m_platform.StartPlatform();
}

bool CPageActions::SendPlatformCommand(const std::string& code, const std::string& parameter)
{
    return m_platform.SendPlatformCommand(code, parameter);
}

void CPageActions::RecordNotShowToday()
{
    Veneer::CScopedHandle event(CreateEventA(nullptr, FALSE, FALSE, kNotShowTodayEventName));
    const bool listenerExists = GetLastError() == ERROR_ALREADY_EXISTS;
    if (listenerExists)
        SetEvent(event.Get());
    else
    {
        m_dataStore.Init();
        AdConfigInfo settings;
        m_dataStore.LoadAdConfig(settings);
        settings.NotShowToday = 1;
        m_dataStore.SaveAdConfig(settings);
    }
    // The first event made stays open; later handles to it close here.
    if (!m_notShowTodayEvent.IsValid())
        m_notShowTodayEvent.Reset(event.Release());
}

} // namespace Qlm
