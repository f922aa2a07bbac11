#include "app/client/XmlNesting.h"

#include <algorithm>

namespace
{

bool StartsAt(const std::string& text, size_t pos, const char* prefix)
{
    return text.compare(pos, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Position just after `terminator` at or after `from`, or the text's end.
size_t SkipPast(const std::string& text, size_t from, const char* terminator)
{
    const size_t found = text.find(terminator, from);
    return found == std::string::npos ? text.size() : found + std::char_traits<char>::length(terminator);
}

// Scans a start tag from its '<' to just after its '>', honouring quoted
// attribute values; reports whether the tag closes itself ("/>").
size_t SkipStartTag(const std::string& text, size_t pos, bool& selfClosing)
{
    char quote = 0;
    for (size_t i = pos + 1; i < text.size(); ++i)
    {
        const char c = text[i];
        if (quote != 0)
        {
            if (c == quote)
                quote = 0;
        }
        else if (c == '"' || c == '\'')
        {
            quote = c;
        }
        else if (c == '>')
        {
            selfClosing = text[i - 1] == '/';
            return i + 1;
        }
    }
    selfClosing = false;
    return text.size();
}

} // namespace

size_t MaxElementDepth(const std::string& text)
{
    size_t depth = 0;
    size_t deepest = 0;
    size_t pos = text.find('<');
    while (pos != std::string::npos && pos < text.size())
    {
        if (StartsAt(text, pos, "<!--"))
            pos = SkipPast(text, pos, "-->");
        else if (StartsAt(text, pos, "<![CDATA["))
            pos = SkipPast(text, pos, "]]>");
        else if (StartsAt(text, pos, "<?"))
            pos = SkipPast(text, pos, "?>");
        else if (StartsAt(text, pos, "<!"))
            pos = SkipPast(text, pos, ">");
        else if (StartsAt(text, pos, "</"))
        {
            depth = depth > 0 ? depth - 1 : 0;
            pos = SkipPast(text, pos, ">");
        }
        else
        {
            bool selfClosing = false;
            pos = SkipStartTag(text, pos, selfClosing);
            deepest = std::max(deepest, depth + 1);
            if (!selfClosing)
                ++depth;
        }
        pos = text.find('<', pos);
    }
    return deepest;
}
