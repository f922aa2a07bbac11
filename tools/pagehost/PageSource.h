#pragma once

#include <windows.h>

#include <string>

namespace PageHost
{

// Where a navigation's page comes from and its text. The host loads only
// "about:blank" and local files ("file:" addresses and absolute paths);
// every other address fails as an unreachable network would.
class CPageSource
{
  public:
    enum class Kind
    {
        Blank,
        File,
        Unsupported,
    };

    // Classifies an address; for a file, `path` receives its local path.
    static Kind Resolve(const std::wstring& address, std::wstring& path);

    // Loads the page of an address into `text`. Answers S_OK or the
    // NavigateError status (PageHostApi.h), with `problem` saying why.
    static LONG Load(const std::wstring& address, std::wstring& text, std::wstring& problem);

    // Page bytes as text: UTF-16 or UTF-8 with a byte-order mark, otherwise
    // UTF-8 when the bytes are valid UTF-8, else the ANSI code page.
    static std::wstring Decode(const std::string& bytes);

  private:
    static LONG ReadCapped(const std::wstring& path, std::string& bytes, std::wstring& problem);
};

} // namespace PageHost
