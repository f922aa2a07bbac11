#pragma once

#include "tools/pagehost/PageContent.h"

#include <map>
#include <string>

namespace PageHost
{

// Reads the small subset of HTML that the page host shows (see README.md):
// <title>, headings, text, <a>, <button>, <script> and <body onload>, with
// the entities &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones. Other
// tags are skipped and their text kept; <style> and comments are dropped.
// Any text is accepted: the parser never fails, it only keeps less.
class CPageParser
{
  public:
    static CPageContent Parse(const std::wstring& page);
    // Replaces entities; an unknown or unterminated one stays as written.
    static std::wstring DecodeEntities(const std::wstring& text);

  private:
    typedef std::map<std::wstring, std::wstring> Attributes;

    explicit CPageParser(const std::wstring& page) : m_page(page) {}

    void Run();
    void ReadTag();
    void ReadText();
    void StartElement(const std::wstring& name, const Attributes& attributes, size_t tagEnd);
    void EndElement(const std::wstring& name);
    void ReadScript(const Attributes& attributes, size_t codeStart);
    void SkipRawText(const wchar_t* pstrEndTag);
    void StartAction(PageItemKind kind, const Attributes& attributes);
    void FinishText();
    void AddItem(CPageItem item);
    std::wstring Cut(std::wstring text);
    size_t ReadTagName(size_t pos, std::wstring& name) const;
    size_t ReadAttributes(size_t pos, Attributes& attributes) const;
    unsigned long LineOf(size_t pos);

    const std::wstring& m_page;
    size_t m_pos = 0;
    CPageContent m_content;

    enum class Target
    {
        Body,
        Title,
        Heading,
        Action,
    };
    Target m_target = Target::Body;
    std::wstring m_text; // collected for the current target
    CPageItem m_action;
    size_t m_actions = 0;
    size_t m_textBlocks = 0;
    size_t m_textChars = 0;
    // Lines counted so far, so that script lines are found in one pass.
    size_t m_lineScanPos = 0;
    unsigned long m_lineCount = 0;
};

} // namespace PageHost
