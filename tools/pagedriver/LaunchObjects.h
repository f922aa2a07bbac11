#pragma once

#include "app/client/DataManage.h"
#include "app/client/LaunchLog.h"
#include "app/launcher/LaunchContext.h"
#include "app/launcher/PageActions.h"
#include "app/launcher/PlatformLink.h"
#include "app/service/ServiceCommManage.h"

#include <windows.h>

#include <string>

// The launcher's objects behind a page's actions, made as the launch makes
// them once the frame exists: the page driver and the tests hand the bridge
// the real actions over them. Members are made in order and end in reverse.
struct CLaunchObjects
{
    CLaunchObjects(const std::wstring& adKeyId, const std::wstring& channel, HWND frame,
                   const Qlm::CPlatformTiming& timing = Qlm::CPlatformTiming())
        : context(adKeyId, channel), service(launchLog), platform(context, timing),
          actions(context, service, platform, dataStore)
    {
        context.SetFrameWnd(frame);
    }
    CLaunchObjects(const CLaunchObjects&) = delete;
    CLaunchObjects& operator=(const CLaunchObjects&) = delete;

    Qlm::CLaunchLog launchLog;
    Qlm::CLaunchContext context;
    Qlm::CServiceCommManage service;
    Qlm::CPlatformLink platform;
    Qlm::CDataManage dataStore;
    Qlm::CPageActions actions;
};
