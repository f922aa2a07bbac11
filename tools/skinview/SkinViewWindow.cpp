#include "SkinViewWindow.h"

#include "tools/common/SkinText.h"
#include "veneer/Veneer.h"

using namespace Veneer;

namespace
{

// The file is looked at four times a second: often enough for an editor's
// save to show at once, rarely enough to cost nothing.
const UINT_PTR kWatchTimer = 0x5E1;
const UINT kWatchIntervalMs = 250;

const DWORD kErrorBackground = 0xFFFFF4F0;
const DWORD kErrorText = 0xFFA01010;

// Fills the window with the reason a skin did not load.
class CErrorViewUI : public CControlUI
{
  public:
    CErrorViewUI(const std::wstring& sMessage, const std::wstring& sLocation)
    {
        m_sText.Format(L"The skin did not load.\n\n%s\n\nat: %s", sMessage.c_str(), sLocation.c_str());
        SetBkColor(kErrorBackground);
    }
    LPCWSTR GetClass() const override { return L"SkinErrorUI"; }
    void PaintText(HDC hDC) override
    {
        RECT rc = m_rcItem;
        ::InflateRect(&rc, -8, -8);
        CRenderEngine::DrawTextW(hDC, m_pManager->GetResources(), rc, m_sText, kErrorText, -1,
                                 DT_WORDBREAK | DT_NOPREFIX, m_pManager->IsBackgroundTransparent());
    }
};

std::wstring Number(ULONGLONG value)
{
    return std::to_wstring(value);
}

} // namespace

CSkinViewWindow::CSkinViewWindow(const TSkinSource& source, bool bLive)
    : m_source(source), m_bLive(bLive), m_bBuilt(false), m_bAttached(false), m_stamp()
{
}

LPCWSTR CSkinViewWindow::GetWindowClass() const
{
    return L"VeneerSkinView";
}

CUiString CSkinViewWindow::GetSkinDir()
{
    return CUiString();
}

CUiString CSkinViewWindow::GetSkinXml()
{
    return m_source.sXml.c_str();
}

LRESULT CSkinViewWindow::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    CPaintManagerUI::SetResourcePath(m_source.sFolder.c_str());
    PrepareFrame();
    ReadStamp(m_stamp);
    Build();
    if (m_bLive)
        ::SetTimer(m_hWnd, kWatchTimer, kWatchIntervalMs, nullptr);
    return 0;
}

LRESULT CSkinViewWindow::OnClose(UINT, WPARAM, LPARAM, bool& bHandled)
{
    // Closing the viewer ends it.
    if (m_bLive)
        ::PostQuitMessage(0);
    bHandled = false;
    return 0;
}

LRESULT CSkinViewWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled)
{
    bHandled = uMsg == WM_TIMER && wParam == kWatchTimer;
    if (bHandled)
        CheckForChange();
    return 0;
}

void CSkinViewWindow::Notify(TNotifyUI& msg)
{
    CControlUI* pSender = msg.pSender;
    WriteUtf8(std::wstring(msg.sType.GetData()) + L" " + (pSender != nullptr ? pSender->GetClass() : L"-") +
              L" " + Quoted(pSender != nullptr ? pSender->GetName().GetData() : L"") + L" " +
              Number(static_cast<ULONGLONG>(msg.wParam)) + L" " + Number(static_cast<ULONGLONG>(msg.lParam)) +
              L"\n");
    WindowImplBase::Notify(msg);
}

bool CSkinViewWindow::IsBuilt() const
{
    return m_bBuilt;
}

const std::wstring& CSkinViewWindow::GetErrorMessage() const
{
    return m_sError;
}

const std::wstring& CSkinViewWindow::GetErrorLocation() const
{
    return m_sLocation;
}

CPaintManagerUI& CSkinViewWindow::GetManager()
{
    return m_PaintManager;
}

void CSkinViewWindow::LayOut()
{
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    if (m_PaintManager.GetRoot() != nullptr)
        m_PaintManager.GetRoot()->SetPos(rcClient);
}

void CSkinViewWindow::Build()
{
    // A rebuilt skin brings its own fonts, images and defaults.
    m_PaintManager.RemoveAllFonts();
    m_PaintManager.RemoveAllImages();
    m_PaintManager.RemoveAllDefaultAttributeList();
    if (!m_source.sArchive.empty())
    {
        // The archive is opened anew: its old handle would show the old bytes.
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourceZip(m_source.sArchive.c_str(), true);
    }

    const SIZE szBefore = m_PaintManager.GetInitSize();
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(m_source.sXml.c_str()), nullptr, this, &m_PaintManager);
    m_bBuilt = pRoot != nullptr;
    wchar_t szMessage[100] = {};
    wchar_t szLocation[100] = {};
    builder.GetLastErrorMessage(szMessage, _countof(szMessage));
    builder.GetLastErrorLocation(szLocation, _countof(szLocation));
    m_sError = szMessage;
    m_sLocation = szLocation;
    if (pRoot == nullptr)
        pRoot = new CErrorViewUI(m_sError, m_sLocation);

    if (!m_bAttached)
    {
        AttachSkin(pRoot);
        m_bAttached = true;
    }
    else
        m_PaintManager.AttachDialog(pRoot);

    // A new size in the skin takes effect; the position stays.
    const SIZE szAfter = m_PaintManager.GetInitSize();
    if (m_bLive && m_bBuilt && szAfter.cx > 0 && szAfter.cy > 0 &&
        (szAfter.cx != szBefore.cx || szAfter.cy != szBefore.cy))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, szAfter.cx, szAfter.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinViewWindow::CheckForChange()
{
    TFileStamp stamp{};
    const bool bReadable = ReadStamp(stamp);
    if (bReadable && ::CompareFileTime(&stamp.ftWrite, &m_stamp.ftWrite) == 0 &&
        stamp.cbSize == m_stamp.cbSize)
        return;
    if (!bReadable && m_stamp.cbSize == 0 && m_stamp.ftWrite.dwLowDateTime == 0 &&
        m_stamp.ftWrite.dwHighDateTime == 0)
        return;
    m_stamp = bReadable ? stamp : TFileStamp{};
    Build();
    if (m_bBuilt)
        WriteUtf8(L"reloaded\n");
    else
        WriteUtf8(L"error: " + m_sError + L" at: " + Quoted(m_sLocation.c_str()) + L"\n");
}

bool CSkinViewWindow::ReadStamp(TFileStamp& stamp) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WatchedFile().c_str(), GetFileExInfoStandard, &data))
        return false;
    stamp.ftWrite = data.ftLastWriteTime;
    stamp.cbSize = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

std::wstring CSkinViewWindow::WatchedFile() const
{
    return m_source.sFolder + (m_source.sArchive.empty() ? m_source.sXml : m_source.sArchive);
}
