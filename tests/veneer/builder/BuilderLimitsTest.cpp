// Hostile skins: each ends the build with a reason instead of a crash, a
// hang or the whole memory.
#include "BuilderTestSupport.h"

#include "veneer/control/ContainerUI.h"

using namespace Veneer;

namespace
{

std::string Nested(const std::string& open, const std::string& close, int nLevels)
{
    std::string text;
    for (int i = 0; i < nLevels; i++)
        text += open;
    for (int i = 0; i < nLevels; i++)
        text += close;
    return text;
}

int CountControls(CControlUI* pControl)
{
    int nCount = 1;
    IContainerUI* pContainer = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
    for (int i = 0; pContainer != nullptr && i < pContainer->GetCount(); i++)
        nCount += CountControls(pContainer->GetItemAt(i));
    return nCount;
}

} // namespace

TEST_F(BuilderFixture, ASkinThatIncludesItselfStopsWithAReason)
{
    WriteSkin("self.xml", "<Window><Container><Include source=\"self.xml\"/></Container></Window>");
    EXPECT_EQ(m_builder.Create(STRINGorID(L"self.xml"), nullptr, nullptr, &m_pm), nullptr);
    EXPECT_EQ(LastError(), L"Includes nested too deeply");
    EXPECT_EQ(LastLocation(), L"self.xml");
}

TEST_F(BuilderFixture, IncludeCountsOutsideTheLimitStopTheBuild)
{
    WriteSkin("one.xml", "<Window><Control/></Window>");
    for (const wchar_t* pstrCount : {L"2000000000", L"-1", L"1001"})
    {
        const std::wstring sSkin =
            std::wstring(L"<Window><VerticalLayout><Include source=\"one.xml\" count=\"") + pstrCount +
            L"\"/></VerticalLayout></Window>";
        EXPECT_EQ(Build(sSkin), nullptr) << pstrCount;
        EXPECT_EQ(LastError(), L"Include count out of range") << pstrCount;
        EXPECT_EQ(LastLocation(), pstrCount);
    }
    ASSERT_NE(Build(L"<Window><VerticalLayout><Include source=\"one.xml\" count=\"1000\"/></VerticalLayout>"
                    L"</Window>"),
              nullptr);
    EXPECT_EQ(CountControls(m_pResult.get()), 1001);
}

TEST_F(BuilderFixture, IncludesThatMultiplyRunIntoTheIncludeBudget)
{
    // Each level includes the next 100 times: a million documents if
    // unbounded. The budget's reason shows the build stopped on the way, not
    // after reading them all.
    WriteSkin("l3.xml", "<Window><Control/></Window>");
    WriteSkin("l2.xml", "<Window><Include source=\"l3.xml\" count=\"100\"/></Window>");
    WriteSkin("l1.xml", "<Window><Include source=\"l2.xml\" count=\"100\"/></Window>");
    EXPECT_EQ(Build(L"<Window><Container><Include source=\"l1.xml\" count=\"100\"/></Container></Window>"),
              nullptr);
    EXPECT_EQ(LastError(), L"Too many includes in the skin");
}

TEST_F(BuilderFixture, LargeIncludesRunIntoTheControlBudget)
{
    std::string sRow = "<Window>";
    for (int i = 0; i < 100; i++)
        sRow += "<Control/>";
    WriteSkin("row.xml", sRow + "</Window>");
    EXPECT_EQ(Build(L"<Window><Container><Include source=\"row.xml\" count=\"1000\"/></Container></Window>"),
              nullptr);
    EXPECT_EQ(LastError(), L"Too many controls in the skin");
}

TEST_F(BuilderFixture, DeepNestingIsBuiltUpToTheLimitAndRefusedBeyond)
{
    // The markup reader accepts 255 levels below the root.
    const std::string sDeep = "<Window>" + Nested("<Container>", "</Container>", 254) + "</Window>";
    std::wstring sText(sDeep.begin(), sDeep.end());
    CControlUI* pRoot = Build(sText);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(CountControls(pRoot), 254);

    // Includes add their nesting to the including document's.
    WriteSkin("deep.xml", sDeep);
    EXPECT_EQ(
        Build(
            L"<Window><Container><Container><Include source=\"deep.xml\"/></Container></Container></Window>"),
        nullptr);
    EXPECT_EQ(LastError(), L"Skin nested too deeply");
}

TEST_F(BuilderFixture, NestingBeyondTheMarkupLimitFailsToLoad)
{
    const std::string sDeep = Nested("<Container>", "</Container>", 200000);
    std::wstring sText(sDeep.begin(), sDeep.end());
    EXPECT_EQ(Build(sText), nullptr);
    EXPECT_FALSE(LastError().empty());
}

TEST_F(BuilderFixture, AStoppedBuildLeavesWhatItPutIntoTheGivenParent)
{
    WriteSkin("one.xml", "<Window><Control/></Window>");
    CContainerUI parent;
    EXPECT_EQ(Build(L"<Window><Control name=\"first\"/><Include source=\"one.xml\" count=\"5000\"/>"
                    L"<Control name=\"never\"/></Window>",
                    nullptr, &parent),
              nullptr);
    ASSERT_EQ(parent.GetCount(), 1);
    EXPECT_EQ(parent.GetItemAt(0)->GetName(), L"first");
}
