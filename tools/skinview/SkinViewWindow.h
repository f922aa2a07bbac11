#pragma once

#include "veneer/Veneer.h"

#include <windows.h>

#include <string>

// Where a skin comes from: a file, or a member of a skin archive (the
// archive's folder is the resource path either way).
struct TSkinSource
{
    std::wstring sFolder;
    std::wstring sXml;     // the skin file, or the member of the archive
    std::wstring sArchive; // empty for a plain file
};

// A skinned window that builds its tree itself, so that a skin that does not
// load shows the reason in the window instead of ending the program. In live
// mode it watches the skin (or its archive) and builds it again whenever the
// file changes, keeping the window where it is, and prints each
// notification of the tree on standard output.
class CSkinViewWindow : public Veneer::WindowImplBase
{
  public:
    CSkinViewWindow(const TSkinSource& source, bool bLive);

    LPCWSTR GetWindowClass() const override;
    Veneer::CUiString GetSkinDir() override;
    Veneer::CUiString GetSkinXml() override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void Notify(Veneer::TNotifyUI& msg) override;

    // Whether the last build succeeded, and why not.
    bool IsBuilt() const;
    const std::wstring& GetErrorMessage() const;
    const std::wstring& GetErrorLocation() const;
    Veneer::CPaintManagerUI& GetManager();

    // Places the tree in the client area now, as the first paint would.
    void LayOut();

  private:
    struct TFileStamp
    {
        FILETIME ftWrite;
        ULONGLONG cbSize;
    };

    // Builds the skin into a new tree and attaches it: the skin's own tree,
    // or a view of the error.
    void Build();
    void CheckForChange();
    bool ReadStamp(TFileStamp& stamp) const;
    std::wstring WatchedFile() const;

    TSkinSource m_source;
    bool m_bLive;
    bool m_bBuilt;
    bool m_bAttached;
    std::wstring m_sError;
    std::wstring m_sLocation;
    TFileStamp m_stamp;
};
