#include "veneer/manager/PaintManagerUI.h"
#include "veneer/markup/Markup.h"

#include "TestImages.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>

using Veneer::CMarkup;
using Veneer::CPaintManagerUI;

namespace
{

const DWORD kMaxDocumentBytes = 4 * 1024 * 1024;
const wchar_t kSkinFolder[] = L"markup_skin";

std::wstring ErrorMessage(const CMarkup& markup)
{
    wchar_t sz[100] = {};
    markup.GetLastErrorMessage(sz, _countof(sz));
    return sz;
}

// A document of exactly cbSize bytes: a root element padded with spaces.
std::string DocumentOfSize(size_t cbSize)
{
    std::string xml = "<Window text=\"padded\">";
    xml += std::string(cbSize - xml.size() - 9, ' ');
    return xml + "</Window>";
}

class MarkupFile : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CreateDirectoryW(kSkinFolder, nullptr);
        wchar_t szCurrent[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, szCurrent);
        m_sFolder = std::wstring(szCurrent) + L"\\" + kSkinFolder + L"\\";
        CPaintManagerUI::SetResourcePath(m_sFolder.c_str());
    }

    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }

    void WriteSkinFile(const std::wstring& name, const std::string& bytes)
    {
        WriteFileBytes((m_sFolder + name).c_str(), bytes);
    }

    void WriteSkinFile(const std::wstring& name, const ZipLayout& zip)
    {
        WriteSkinFile(name, std::string(zip.bytes.begin(), zip.bytes.end()));
    }

    std::wstring m_sFolder;
};

} // namespace

TEST_F(MarkupFile, FileUnderTheResourcePathLoads)
{
    WriteSkinFile(L"Frame.xml",
                  "\xEF\xBB\xBF<Window size=\"380,265\"><Label text=\"\xE4\xB8\x96\"/></Window>");
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Frame.xml")) << ErrorMessage(markup);
    EXPECT_STREQ(L"\u4e16", markup.GetRoot().GetChild().GetAttributeValue(L"text"));
}

TEST_F(MarkupFile, MissingOrEmptyFilesFailWithTheirMessages)
{
    CMarkup markup(L"<previous/>");
    EXPECT_FALSE(markup.LoadFromFile(L"Missing.xml"));
    EXPECT_EQ(L"Error opening file", ErrorMessage(markup));
    EXPECT_FALSE(markup.IsValid()) << "the previous document is released";

    WriteSkinFile(L"Empty.xml", "");
    EXPECT_FALSE(markup.LoadFromFile(L"Empty.xml"));
    EXPECT_EQ(L"File is empty", ErrorMessage(markup));
    wchar_t szLocation[50] = {L'#'};
    markup.GetLastErrorLocation(szLocation, 49);
    EXPECT_STREQ(L"", szLocation);

    EXPECT_FALSE(markup.LoadFromFile(nullptr));
    EXPECT_EQ(L"Error opening file", ErrorMessage(markup));
}

TEST_F(MarkupFile, FourMebibytesLoadAndOneByteMoreIsTooLarge)
{
    WriteSkinFile(L"Limit.xml", DocumentOfSize(kMaxDocumentBytes));
    WriteSkinFile(L"Over.xml", DocumentOfSize(kMaxDocumentBytes + 1));
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Limit.xml")) << ErrorMessage(markup);
    EXPECT_STREQ(L"padded", markup.GetRoot().GetAttributeValue(L"text"));
    EXPECT_FALSE(markup.LoadFromFile(L"Over.xml"));
    EXPECT_EQ(L"File too large", ErrorMessage(markup));
}

TEST_F(MarkupFile, EncodingIsTheCallers)
{
    const std::wstring text = L"<a v=\"\u4e16\"/>";
    std::string bytes = "\xFE\xFF";
    for (wchar_t ch : text)
    {
        bytes += static_cast<char>(ch >> 8);
        bytes += static_cast<char>(ch & 0xFF);
    }
    WriteSkinFile(L"Wide.xml", bytes);
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"Wide.xml", Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"\u4e16", markup.GetRoot().GetAttributeValue(L"v"));
    EXPECT_FALSE(markup.LoadFromFile(L"Wide.xml", Veneer::XMLFILE_ENCODING_UTF8))
        << "a UTF-16 mark is no UTF-8";
}

TEST_F(MarkupFile, ArchiveFileMemberIsFoundIgnoringCaseAndEveryFailureHasItsMessage)
{
    ZipMember lying;
    lying.name = "Short.xml";
    lying.data = "<Short/>";
    lying.deflate = false;
    ZipLayout zip = ZipBuilder()
                        .Add("Skin/Frame.xml", "<Window><Button name=\"close\"/></Window>")
                        .Add("Empty.xml", "", false)
                        .Add(lying)
                        .Build();
    // Short.xml declares more bytes than it holds.
    PutLE32(zip.bytes, zip.dirEntries[2] + 24, 200);
    PutLE32(zip.bytes, zip.localHeaders[2] + 22, 200);
    WriteSkinFile(L"skin.zip", zip);

    CMarkup markup;
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    ASSERT_TRUE(markup.LoadFromFile(L"SKIN\\frame.XML")) << ErrorMessage(markup);
    EXPECT_STREQ(L"close", markup.GetRoot().GetChild().GetAttributeValue(L"name"));

    EXPECT_FALSE(markup.LoadFromFile(L"Frame.xml"));
    EXPECT_EQ(L"Could not find ziped file", ErrorMessage(markup));
    EXPECT_FALSE(markup.LoadFromFile(L"Empty.xml"));
    EXPECT_EQ(L"File is empty", ErrorMessage(markup));
    EXPECT_FALSE(markup.LoadFromFile(L"Short.xml"));
    EXPECT_EQ(L"Could not unzip file", ErrorMessage(markup));

    WriteSkinFile(L"Frame.xml", "<OnDisk/>");
    EXPECT_FALSE(markup.LoadFromFile(L"Frame.xml")) << "no fallback to the resource path";

    CPaintManagerUI::SetResourceZip(L"missing.zip", false);
    EXPECT_FALSE(markup.LoadFromFile(L"Skin/Frame.xml"));
    EXPECT_EQ(L"Error opening zip file", ErrorMessage(markup));
}

TEST_F(MarkupFile, ArchiveMemberOverFourMebibytesIsTooLarge)
{
    const ZipLayout zip = ZipBuilder()
                              .Add("Limit.xml", DocumentOfSize(kMaxDocumentBytes))
                              .Add("Over.xml", DocumentOfSize(kMaxDocumentBytes + 1))
                              .Build();
    WriteSkinFile(L"big.zip", zip);
    CPaintManagerUI::SetResourceZip(L"big.zip", true);
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"limit.xml")) << ErrorMessage(markup);
    EXPECT_FALSE(markup.LoadFromFile(L"over.xml"));
    EXPECT_EQ(L"File too large", ErrorMessage(markup));
}

TEST_F(MarkupFile, MemoryArchiveIsReadThroughTheCachedHandle)
{
    const ZipLayout zip = ZipBuilder().Add("QMMessageFrame.xml", "<Window><WebBrowser/></Window>").Build();
    CPaintManagerUI::SetResourceZip(zip.bytes.data(), static_cast<unsigned>(zip.bytes.size()));
    ASSERT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"qmmessageframe.xml")) << ErrorMessage(markup);
    EXPECT_STREQ(L"WebBrowser", markup.GetRoot().GetChild().GetName());
    ASSERT_TRUE(markup.LoadFromFile(L"QMMessageFrame.xml")) << "the cached archive stays open";
}

TEST_F(MarkupFile, DamagedMemoryArchiveFailsWithoutLookingOnDisk)
{
    // A file named like the marker of an archive in memory, beside the skin.
    WriteSkinFile(L"membuffer", ZipBuilder().Add("QMMessageFrame.xml", "<Planted/>").Build());
    const std::string damaged(64, 'x');
    CPaintManagerUI::SetResourceZip(damaged.data(), static_cast<unsigned>(damaged.size()));
    ASSERT_STREQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
    ASSERT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CMarkup markup;
    for (int nLoad = 0; nLoad < 2; nLoad++)
    {
        EXPECT_FALSE(markup.LoadFromFile(L"QMMessageFrame.xml")) << markup.GetRoot().GetName();
        EXPECT_EQ(L"Error opening zip file", ErrorMessage(markup));
    }
}
