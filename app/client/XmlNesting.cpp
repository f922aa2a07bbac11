#include "app/client/XmlNesting.h"

#include <tinyxml.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace Qlm
{

namespace
{

// The longest step the parser takes over one character (a UTF-8 lead byte
// announces at most four bytes).
constexpr size_t kInputPadding = 4;

// A text that starts with it is UTF-8 to TinyXML whatever it declares.
const unsigned char kUtf8ByteOrderMark[] = {0xEF, 0xBB, 0xBF};

// Walks a text the way TinyXML's document parser does, but keeps the open
// elements on a list of its own instead of recursing once per element. Only
// the descent into elements is done here (the document loop, an element's
// start tag, its content and its end tag, in TinyXML's order and with its
// failure rules); every other node is identified and parsed by TinyXML
// itself. The walk derives from TiXmlElement for that only: node
// identification, name reading and white-space skipping are protected
// members of TinyXML's classes.
class CNestingWalk : private TiXmlElement
{
  public:
    CNestingWalk() : TiXmlElement("") {}

    // The deepest nesting of elements the parser reaches on the text; every
    // element it starts counts, whether or not its markup then fails.
    size_t Deepest(const char* p)
    {
        if (p == nullptr || *p == '\0')
            return 0;
        if (StartsWithByteOrderMark(p))
            encoding = TIXML_ENCODING_UTF8;
        p = SkipWhiteSpace(p, encoding);
        // The document's top-level nodes, until one fails or the text ends.
        while (p != nullptr && *p != '\0')
        {
            const std::unique_ptr<TiXmlNode> node(Identify(p, encoding));
            if (!node)
                break;
            p = node->ToElement() != nullptr ? WalkElement(p) : node->Parse(p, nullptr, encoding);
            // The first declaration decides how the rest of the text is read.
            if (encoding == TIXML_ENCODING_UNKNOWN && node->ToDeclaration() != nullptr)
                encoding = DeclaredEncoding(*node->ToDeclaration());
            p = SkipWhiteSpace(p, encoding);
        }
        return deepest;
    }

  private:
    static bool StartsWithByteOrderMark(const char* p)
    {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(p);
        // Compared byte by byte: the text may end within the three bytes.
        return bytes[0] == kUtf8ByteOrderMark[0] && bytes[1] == kUtf8ByteOrderMark[1] &&
               bytes[2] == kUtf8ByteOrderMark[2];
    }

    static TiXmlEncoding DeclaredEncoding(const TiXmlDeclaration& declaration)
    {
        const char* name = declaration.Encoding();
        if (*name == '\0' || StringEqual(name, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
            StringEqual(name, "UTF8", true, TIXML_ENCODING_UNKNOWN))
            return TIXML_ENCODING_UTF8;
        return TIXML_ENCODING_LEGACY;
    }

    // One top-level element with everything inside it; where the parser
    // goes on after it, or null when it fails (which ends the parse).
    const char* WalkElement(const char* p)
    {
        p = StartElement(p);
        while (p != nullptr && !endTags.empty())
            p = ReadContent(p);
        return p;
    }

    // An element's start tag, from its '<' to just after its '>' or "/>".
    // A tag that opens content leaves its end tag on the open list.
    const char* StartElement(const char* p)
    {
        deepest = std::max(deepest, endTags.size() + 1);
        p = SkipWhiteSpace(p, encoding);
        std::string name;
        p = ReadName(SkipWhiteSpace(p + 1, encoding), &name, encoding);
        if (p == nullptr || *p == '\0')
            return nullptr;
        // A repeated attribute name is an error, as is anything malformed.
        std::set<std::string> attributeNames;
        for (;;)
        {
            p = SkipWhiteSpace(p, encoding);
            if (p == nullptr || *p == '\0')
                return nullptr;
            if (*p == '/')
                return p[1] == '>' ? p + 2 : nullptr;
            if (*p == '>')
            {
                endTags.push_back("</" + name);
                return p + 1;
            }
            TiXmlAttribute attribute;
            p = attribute.Parse(p, nullptr, encoding);
            if (p == nullptr || *p == '\0' || !attributeNames.insert(attribute.NameTStr()).second)
                return nullptr;
        }
    }

    // The innermost open element's content, up to its end tag (which closes
    // it) or up to a child element that opens content of its own. Text runs
    // out before the end tag: the parser fails.
    const char* ReadContent(const char* p)
    {
        const char* withWhiteSpace = p;
        p = SkipWhiteSpace(p, encoding);
        while (p != nullptr && *p != '\0')
        {
            if (*p != '<')
            {
                // Text keeps its leading blanks when white space is not
                // condensed.
                TiXmlText text("");
                p = text.Parse(IsWhiteSpaceCondensed() ? p : withWhiteSpace, nullptr, encoding);
            }
            else if (StringEqual(p, "</", false, encoding))
                return EndElement(p);
            else
            {
                const std::unique_ptr<TiXmlNode> node(Identify(p, encoding));
                if (!node)
                    return nullptr;
                if (node->ToElement() == nullptr)
                    p = node->Parse(p, nullptr, encoding);
                else
                {
                    const size_t open = endTags.size();
                    p = StartElement(p);
                    if (p != nullptr && endTags.size() > open)
                        return p;
                }
            }
            withWhiteSpace = p;
            p = SkipWhiteSpace(p, encoding);
        }
        return nullptr;
    }

    // The innermost open element's end tag: its exact name, blanks, '>'.
    const char* EndElement(const char* p)
    {
        const std::string& endTag = endTags.back();
        if (!StringEqual(p, endTag.c_str(), false, encoding))
            return nullptr;
        p = SkipWhiteSpace(p + endTag.size(), encoding);
        if (p == nullptr || *p != '>')
            return nullptr;
        endTags.pop_back();
        return p + 1;
    }

    TiXmlEncoding encoding = TIXML_ENCODING_UNKNOWN;
    // "</name" of each open element, the innermost last.
    std::vector<std::string> endTags;
    size_t deepest = 0;
};

} // namespace

std::string TinyXmlInput(const std::string& fileBytes)
{
    std::string input;
    input.reserve(fileBytes.size() + kInputPadding);
    for (size_t i = 0; i < fileBytes.size() && fileBytes[i] != '\0'; ++i)
    {
        if (fileBytes[i] != '\r')
            input += fileBytes[i];
        else
        {
            input += '\n';
            if (i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n')
                ++i;
        }
    }
    input.append(kInputPadding, '\0');
    return input;
}

size_t MaxElementDepth(const std::string& text)
{
    const std::string input = TinyXmlInput(text);
    CNestingWalk walk;
    return walk.Deepest(input.c_str());
}

} // namespace Qlm
