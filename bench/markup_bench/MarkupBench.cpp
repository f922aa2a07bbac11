// Markup parsing throughput: a large generated skin, from UTF-8 bytes in memory
// to a navigable tree, read by CMarkup, by TinyXML and by pugixml in the same
// process. Prints each throughput and CMarkup's ratio to each reference.

#include "veneer/Veneer.h"

#include <pugixml.hpp>
#include <tinyxml.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

const size_t kTargetBytes = 6 * 1024 * 1024;
const int kRounds = 15;

void AppendRow(std::string& xml, int iPage, int iRow)
{
    const std::string row = std::to_string(iPage) + "_" + std::to_string(iRow);
    xml += "      <HorizontalLayout name=\"row" + row +
           "\" height=\"28\" childpadding=\"4\" inset=\"2,2,2,2\">\n";
    xml += "        <Label name=\"label" + row + "\" text=\"\xE6\xA0\x87\xE9\xA2\x98 " + row +
           " &amp; more\" textcolor=\"#FF333333\" font=\"0\" width=\"120\" align=\"left\"/>\n";
    for (int i = 0; i < 3; ++i)
    {
        xml += "        <Button name=\"btn" + row + "_" + std::to_string(i) +
               "\" text=\"&lt;OK&gt;\" width=\"60\" height=\"24\" tooltip=\"Click &quot;OK&quot; to go on\" "
               "normalimage=\"file='SysBtn/Btn.png' source='0,0,60,24' corner='2,2,2,2'\" "
               "hotimage=\"file='SysBtn/Btn.png' source='60,0,120,24'\" pushedimage=\"file='SysBtn/Btn.png' "
               "source='120,0,180,24'\" textcolor=\"#FF000000\" hottextcolor=\"#FF0000FF\"/>\n";
    }
    xml += "        <Edit name=\"edit" + row +
           "\" text=\"\" maxchar=\"64\" bordersize=\"1\" bordercolor=\"#FFAAAAAA\"/>\n";
    xml += "      </HorizontalLayout>\n";
}

void AppendPage(std::string& xml, int iPage)
{
    const std::string page = std::to_string(iPage);
    xml += "    <VerticalLayout name=\"page" + page +
           "\" bkcolor=\"#FFF0F0F0\" inset=\"4,4,4,4\" vscrollbar=\"true\">\n";
    xml += "      <!-- page " + page + " -->\n";
    for (int iRow = 0; iRow < 8; ++iRow)
        AppendRow(xml, iPage, iRow);
    xml += "      <List name=\"list" + page + "\" header=\"hidden\" itemselectedbkcolor=\"#FFC1E3FF\">\n";
    for (int i = 0; i < 6; ++i)
        xml += "        <ListLabelElement text=\"\xE9\xA1\xB9\xE7\x9B\xAE " + std::to_string(i) +
               "\" height=\"22\"/>\n";
    xml += "      </List>\n";
    xml += "      <Text name=\"note" + page + "\">Notes for page " + page +
           ": values &lt; 10 &amp; &gt; 2 \xE4\xB8\xAD\xE6\x96\x87\xE8\xAF\xB4\xE6\x98\x8E</Text>\n";
    xml += "    </VerticalLayout>\n";
}

// A skin of nested layouts with many attributes, entities, comments and some
// CJK text, of at least kTargetBytes.
std::string GenerateSkin()
{
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- generated benchmark skin -->\n"
        "<Window size=\"800,600\" caption=\"0,0,0,32\" roundcorner=\"4,4\" mininfo=\"400,300\">\n"
        "  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" "
        "default=\"true\"/>\n"
        "  <Default name=\"Button\" value=\"normalimage=&quot;file='btn.png'&quot;\"/>\n"
        "  <TabLayout name=\"pages\" selectedid=\"0\">\n";
    for (int iPage = 0; xml.size() < kTargetBytes; ++iPage)
        AppendPage(xml, iPage);
    xml += "  </TabLayout>\n</Window>\n";
    return xml;
}

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One reader: parse reads the skin into a tree; count reads it again and
// counts the elements, to show that every reader sees the same document.
struct Contender
{
    const char* pstrName;
    std::function<bool()> parse;
    std::function<int()> count;
    std::vector<double> seconds;
};

int CountMarkup(Veneer::CMarkupNode node)
{
    int n = 0;
    for (; node.IsValid(); node = node.GetSibling())
        n += 1 + CountMarkup(node.GetChild());
    return n;
}

int CountTiny(const TiXmlElement* pElement)
{
    int n = 0;
    for (; pElement != nullptr; pElement = pElement->NextSiblingElement())
        n += 1 + CountTiny(pElement->FirstChildElement());
    return n;
}

int CountPugi(pugi::xml_node node)
{
    int n = 0;
    for (; node; node = node.next_sibling())
        n += node.type() == pugi::node_element ? 1 + CountPugi(node.first_child()) : 0;
    return n;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    const std::string skin = GenerateSkin();
    const auto* pBytes = reinterpret_cast<const BYTE*>(skin.data());
    const DWORD cbSkin = static_cast<DWORD>(skin.size());

    std::vector<Contender> contenders(3);
    contenders[0].pstrName = "CMarkup";
    contenders[0].parse = [&] {
        Veneer::CMarkup markup;
        return markup.LoadFromMem(pBytes, cbSkin, Veneer::XMLFILE_ENCODING_UTF8);
    };
    contenders[0].count = [&] {
        Veneer::CMarkup markup;
        markup.LoadFromMem(pBytes, cbSkin, Veneer::XMLFILE_ENCODING_UTF8);
        return CountMarkup(markup.GetRoot());
    };
    contenders[1].pstrName = "TinyXML";
    contenders[1].parse = [&] {
        TiXmlDocument document;
        document.Parse(skin.c_str(), nullptr, TIXML_ENCODING_UTF8);
        return !document.Error();
    };
    contenders[1].count = [&] {
        TiXmlDocument document;
        document.Parse(skin.c_str(), nullptr, TIXML_ENCODING_UTF8);
        return CountTiny(document.RootElement());
    };
    contenders[2].pstrName = "pugixml";
    contenders[2].parse = [&] {
        return static_cast<bool>(pugi::xml_document().load_buffer(skin.data(), skin.size()));
    };
    contenders[2].count = [&] {
        pugi::xml_document document;
        document.load_buffer(skin.data(), skin.size());
        return CountPugi(document.first_child());
    };
    for (Contender& contender : contenders)
        printf("%-8s reads %d elements\n", contender.pstrName, contender.count());

    // The rounds interleave the readers, so that all share the same noise.
    for (int iRound = 0; iRound < kRounds; ++iRound)
    {
        for (Contender& contender : contenders)
        {
            LARGE_INTEGER start{}, end{};
            QueryPerformanceCounter(&start);
            const bool bParsed = contender.parse();
            QueryPerformanceCounter(&end);
            if (!bParsed)
            {
                printf("%s failed to parse the skin\n", contender.pstrName);
                return 1;
            }
            contender.seconds.push_back(Seconds(start, end));
        }
    }

    const double megabytes = static_cast<double>(skin.size()) / (1024.0 * 1024.0);
    printf("skin: %.2f MB of UTF-8, %d rounds, median time per parse\n", megabytes, kRounds);
    std::vector<double> throughput;
    for (const Contender& contender : contenders)
    {
        throughput.push_back(megabytes / Median(contender.seconds));
        printf("%-8s %8.1f MB/s\n", contender.pstrName, throughput.back());
    }
    printf("CMarkup / TinyXML: %.2fx (target at least 3x)\n", throughput[0] / throughput[1]);
    printf("CMarkup / pugixml: %.2fx (target at least 0.7x)\n", throughput[0] / throughput[2]);
    return 0;
}
