#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace Qlm
{

// How the program was launched: the ad's key and channel from the command
// line and, once the frame exists, its window. The launch sequence makes it
// from the arguments; the frame's window is published once it is created.
class CLaunchContext
{
  public:
    CLaunchContext(std::wstring adKeyId, std::wstring channel)
        : m_adKeyId(std::move(adKeyId)), m_channel(std::move(channel))
    {
    }
    CLaunchContext(const CLaunchContext&) = delete;
    CLaunchContext& operator=(const CLaunchContext&) = delete;

    const std::wstring& AdKeyId() const { return m_adKeyId; }
    const std::wstring& Channel() const { return m_channel; }
    // Null until the frame is created.
    HWND FrameWnd() const { return m_frameWnd; }
    void SetFrameWnd(HWND frame) { m_frameWnd = frame; }

  private:
    HWND m_frameWnd = nullptr;
    const std::wstring m_adKeyId;
    const std::wstring m_channel;
};

} // namespace Qlm
