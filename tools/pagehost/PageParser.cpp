#include "tools/pagehost/PageParser.h"

#include "tools/pagehost/PageHostApi.h"

#include <cwchar>
#include <cwctype>

namespace PageHost
{

namespace
{

constexpr wchar_t kReplacement = 0xFFFD;
// The longest entity the decoder looks at: "&#x10FFFF;" and the names.
constexpr size_t kMaxEntityChars = 10;

bool IsSpace(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\f';
}

bool IsNameChar(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') ||
           ch == L'-' || ch == L'_' || ch == L':';
}

bool IsLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text)
        ch = static_cast<wchar_t>(towlower(ch));
    return text;
}

// Runs of white space become one blank; none is left at either end.
std::wstring Collapse(const std::wstring& text)
{
    std::wstring out;
    bool pendingSpace = false;
    for (wchar_t ch : text)
    {
        if (IsSpace(ch))
        {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += L' ';
        pendingSpace = false;
        out += ch;
    }
    return out;
}

size_t FindNoCase(const std::wstring& text, const wchar_t* pstrNeedle, size_t from)
{
    const size_t length = wcslen(pstrNeedle);
    for (size_t i = from; i + length <= text.size(); ++i)
    {
        if (_wcsnicmp(text.c_str() + i, pstrNeedle, length) == 0)
            return i;
    }
    return std::wstring::npos;
}

bool IsHeading(const std::wstring& name)
{
    return name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6';
}

// Tags that end the text block before them.
bool IsBlock(const std::wstring& name)
{
    static const wchar_t* const kBlocks[] = {
        L"p",       L"div",    L"br",     L"li",     L"ul",   L"ol",         L"tr",  L"table", L"hr",
        L"section", L"header", L"footer", L"center", L"form", L"blockquote", L"pre", L"body",  L"html"};
    for (const wchar_t* pstrBlock : kBlocks)
    {
        if (name == pstrBlock)
            return true;
    }
    return false;
}

bool IsScriptLanguage(const std::wstring& value)
{
    const std::wstring lower = Lower(value);
    return lower.empty() || lower.find(L"javascript") != std::wstring::npos ||
           lower.find(L"jscript") != std::wstring::npos || lower.find(L"ecmascript") != std::wstring::npos;
}

void AppendCodePoint(std::wstring& out, unsigned long codePoint)
{
    if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        out += kReplacement;
    else if (codePoint > 0xFFFF)
    {
        codePoint -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    }
    else
        out += static_cast<wchar_t>(codePoint);
}

// "#123" or "#x7B"; false when the digits are missing or not digits.
bool ReadNumericEntity(const std::wstring& body, unsigned long& codePoint)
{
    const bool hex = body.size() > 1 && (body[1] == L'x' || body[1] == L'X');
    const size_t first = hex ? 2 : 1;
    if (body.size() <= first)
        return false;
    codePoint = 0;
    for (size_t i = first; i < body.size(); ++i)
    {
        const wchar_t ch = body[i];
        unsigned long digit = 0;
        if (ch >= L'0' && ch <= L'9')
            digit = ch - L'0';
        else if (hex && ch >= L'a' && ch <= L'f')
            digit = ch - L'a' + 10;
        else if (hex && ch >= L'A' && ch <= L'F')
            digit = ch - L'A' + 10;
        else
            return false;
        // Anything past the last code point stays past it: no overflow.
        codePoint = codePoint > 0x10FFFF ? codePoint : codePoint * (hex ? 16 : 10) + digit;
    }
    return true;
}

bool DecodeEntity(const std::wstring& body, std::wstring& out)
{
    static const struct
    {
        const wchar_t* name;
        wchar_t value;
    } kNamed[] = {{L"amp", L'&'},  {L"lt", L'<'},    {L"gt", L'>'},
                  {L"quot", L'"'}, {L"apos", L'\''}, {L"nbsp", 0xA0}};
    if (!body.empty() && body[0] == L'#')
    {
        unsigned long codePoint = 0;
        if (!ReadNumericEntity(body, codePoint))
            return false;
        AppendCodePoint(out, codePoint);
        return true;
    }
    for (const auto& entity : kNamed)
    {
        if (body == entity.name)
        {
            out += entity.value;
            return true;
        }
    }
    return false;
}

} // namespace

CPageContent CPageParser::Parse(const std::wstring& page)
{
    CPageParser parser(page);
    parser.Run();
    return parser.m_content;
}

std::wstring CPageParser::DecodeEntities(const std::wstring& text)
{
    std::wstring out;
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t amp = text.find(L'&', pos);
        if (amp == std::wstring::npos)
            break;
        out.append(text, pos, amp - pos);
        const size_t semicolon = text.find(L';', amp);
        if (semicolon != std::wstring::npos && semicolon - amp - 1 <= kMaxEntityChars &&
            DecodeEntity(text.substr(amp + 1, semicolon - amp - 1), out))
        {
            pos = semicolon + 1;
            continue;
        }
        out += L'&';
        pos = amp + 1;
    }
    out.append(text, pos, std::wstring::npos);
    return out;
}

void CPageParser::Run()
{
    while (m_pos < m_page.size())
    {
        if (m_page[m_pos] == L'<')
            ReadTag();
        else
            ReadText();
    }
    FinishText();
}

void CPageParser::ReadText()
{
    size_t end = m_page.find(L'<', m_pos);
    if (end == std::wstring::npos)
        end = m_page.size();
    m_text += DecodeEntities(m_page.substr(m_pos, end - m_pos));
    m_pos = end;
}

// At a '<': a comment, an end tag, a declaration, a start tag, or a '<'
// that begins no tag and is text.
void CPageParser::ReadTag()
{
    const wchar_t next = m_pos + 1 < m_page.size() ? m_page[m_pos + 1] : L'\0';
    if (m_page.compare(m_pos, 4, L"<!--") == 0)
    {
        const size_t end = m_page.find(L"-->", m_pos + 4);
        m_pos = end == std::wstring::npos ? m_page.size() : end + 3;
        return;
    }
    std::wstring name;
    if (next == L'/' && ReadTagName(m_pos + 2, name) > m_pos + 2)
    {
        const size_t end = m_page.find(L'>', m_pos);
        m_pos = end == std::wstring::npos ? m_page.size() : end + 1;
        EndElement(name);
        return;
    }
    if (next == L'!' || next == L'?')
    {
        const size_t end = m_page.find(L'>', m_pos);
        m_pos = end == std::wstring::npos ? m_page.size() : end + 1;
        return;
    }
    if (!IsLetter(next))
    {
        m_text += L'<';
        ++m_pos;
        return;
    }
    Attributes attributes;
    const size_t tagEnd = ReadAttributes(ReadTagName(m_pos + 1, name), attributes);
    m_pos = tagEnd;
    StartElement(name, attributes, tagEnd);
}

size_t CPageParser::ReadTagName(size_t pos, std::wstring& name) const
{
    const size_t start = pos;
    while (pos < m_page.size() && IsNameChar(m_page[pos]))
        ++pos;
    name = Lower(m_page.substr(start, pos - start));
    return pos;
}

// Reads name="value", name='value', name=value and bare names up to the
// tag's '>'; answers the position after it (or the end of the page).
size_t CPageParser::ReadAttributes(size_t pos, Attributes& attributes) const
{
    while (pos < m_page.size())
    {
        const wchar_t ch = m_page[pos];
        if (ch == L'>')
            return pos + 1;
        if (IsSpace(ch) || ch == L'/' || !IsNameChar(ch))
        {
            ++pos;
            continue;
        }
        std::wstring name;
        pos = ReadTagName(pos, name);
        while (pos < m_page.size() && IsSpace(m_page[pos]))
            ++pos;
        std::wstring value;
        if (pos < m_page.size() && m_page[pos] == L'=')
        {
            ++pos;
            while (pos < m_page.size() && IsSpace(m_page[pos]))
                ++pos;
            size_t end = pos;
            if (pos < m_page.size() && (m_page[pos] == L'"' || m_page[pos] == L'\''))
            {
                end = m_page.find(m_page[pos], pos + 1);
                end = end == std::wstring::npos ? m_page.size() : end;
                value = m_page.substr(pos + 1, end - pos - 1);
                pos = end < m_page.size() ? end + 1 : end;
            }
            else
            {
                while (end < m_page.size() && !IsSpace(m_page[end]) && m_page[end] != L'>')
                    ++end;
                value = m_page.substr(pos, end - pos);
                pos = end;
            }
        }
        attributes.emplace(name, DecodeEntities(value));
    }
    return pos;
}

void CPageParser::StartElement(const std::wstring& name, const Attributes& attributes, size_t tagEnd)
{
    if (name == L"script")
        ReadScript(attributes, tagEnd);
    else if (name == L"style")
        SkipRawText(L"</style");
    else if (name == L"title")
    {
        FinishText();
        m_target = Target::Title;
    }
    else if (IsHeading(name))
    {
        FinishText();
        m_target = Target::Heading;
    }
    else if (name == L"a")
        StartAction(PageItemKind::Link, attributes);
    else if (name == L"button")
        StartAction(PageItemKind::Button, attributes);
    else if (IsBlock(name) && (m_target == Target::Body || m_target == Target::Heading))
        FinishText();
    if (name == L"body")
    {
        const auto onload = attributes.find(L"onload");
        if (onload != attributes.end())
            m_content.onload = onload->second;
    }
}

void CPageParser::EndElement(const std::wstring& name)
{
    const bool ends =
        (name == L"title" && m_target == Target::Title) || (IsHeading(name) && m_target == Target::Heading) ||
        (name == L"a" && m_target == Target::Action && m_action.kind == PageItemKind::Link) ||
        (name == L"button" && m_target == Target::Action && m_action.kind == PageItemKind::Button) ||
        (IsBlock(name) && m_target == Target::Body);
    if (ends)
        FinishText();
}

void CPageParser::ReadScript(const Attributes& attributes, size_t codeStart)
{
    const size_t end = FindNoCase(m_page, L"</script", codeStart);
    const size_t codeEnd = end == std::wstring::npos ? m_page.size() : end;
    const size_t close = end == std::wstring::npos ? std::wstring::npos : m_page.find(L'>', end);
    m_pos = close == std::wstring::npos ? m_page.size() : close + 1;

    const auto type = attributes.find(L"type");
    const auto language = attributes.find(L"language");
    const bool runnable = attributes.find(L"src") == attributes.end() &&
                          (type == attributes.end() || IsScriptLanguage(type->second)) &&
                          (language == attributes.end() || IsScriptLanguage(language->second));
    if (!runnable || m_content.scripts.size() >= kMaxScriptBlocks)
    {
        ++m_content.refusedScripts;
        return;
    }
    CPageScriptBlock block;
    block.code = m_page.substr(codeStart, codeEnd - codeStart);
    block.line = LineOf(codeStart);
    m_content.scripts.push_back(block);
}

void CPageParser::SkipRawText(const wchar_t* pstrEndTag)
{
    const size_t end = FindNoCase(m_page, pstrEndTag, m_pos);
    const size_t close = end == std::wstring::npos ? std::wstring::npos : m_page.find(L'>', end);
    m_pos = close == std::wstring::npos ? m_page.size() : close + 1;
}

void CPageParser::StartAction(PageItemKind kind, const Attributes& attributes)
{
    FinishText();
    m_action = CPageItem();
    m_action.kind = kind;
    const auto onclick = attributes.find(L"onclick");
    if (onclick != attributes.end())
        m_action.onclick = onclick->second;
    const auto href = attributes.find(L"href");
    if (kind == PageItemKind::Link && href != attributes.end())
        m_action.href = href->second;
    m_target = Target::Action;
}

// Ends what the collected text belongs to and goes back to the body.
void CPageParser::FinishText()
{
    const std::wstring text = Cut(Collapse(m_text));
    m_text.clear();
    const Target target = m_target;
    m_target = Target::Body;
    CPageItem item;
    item.text = text;
    switch (target)
    {
    case Target::Title:
        m_content.title = text;
        return;
    case Target::Heading:
        item.kind = PageItemKind::Heading;
        break;
    case Target::Action:
        item = m_action;
        item.text = text;
        break;
    case Target::Body:
        item.kind = PageItemKind::Text;
        break;
    }
    if (!item.text.empty() || item.IsAction())
        AddItem(item);
}

void CPageParser::AddItem(CPageItem item)
{
    if (item.IsAction())
    {
        if (m_actions >= kMaxActions)
        {
            ++m_content.refusedActions;
            return;
        }
        ++m_actions;
    }
    else
    {
        if (m_textBlocks >= kMaxTextBlocks || m_textChars + item.text.size() > kMaxPageTextChars)
        {
            ++m_content.refusedTextBlocks;
            return;
        }
        ++m_textBlocks;
        m_textChars += item.text.size();
    }
    m_content.items.push_back(std::move(item));
}

std::wstring CPageParser::Cut(std::wstring text)
{
    if (text.size() > kMaxBlockChars)
    {
        text.resize(kMaxBlockChars);
        ++m_content.cutTexts;
    }
    return text;
}

unsigned long CPageParser::LineOf(size_t pos)
{
    for (; m_lineScanPos < pos && m_lineScanPos < m_page.size(); ++m_lineScanPos)
    {
        if (m_page[m_lineScanPos] == L'\n')
            ++m_lineCount;
    }
    return m_lineCount;
}

} // namespace PageHost
