#include "BuilderTestSupport.h"

#include "veneer/control/ContainerUI.h"
#include "veneer/builder/ControlClassTable.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "LiveControl.h"

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Lines;

// Makes the controls whose names start with "Custom", and records every
// name it was asked for.
class CRecordingCallback : public IDialogBuilderCallback
{
  public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        m_asked.push_back(pstrClass);
        if (wcsncmp(pstrClass, L"Custom", 6) == 0)
            return new CLiveContainer(&m_count);
        return nullptr;
    }

    Lines m_asked;
    LiveCount m_count;
};

std::string ProgramFolder()
{
    return TestSupport::BinFolder();
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

} // namespace

TEST_F(BuilderFixture, BuildsTheTreeWithClassesNamesAndAttributes)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout name=\"root\">"
                              L"<HorizontalLayout name=\"row\"><Control name=\"a\"/><ScrollBar name=\"sb\"/>"
                              L"</HorizontalLayout><TileLayout name=\"tiles\"/><TabLayout name=\"tabs\">"
                              L"<Container name=\"page\"/></TabLayout></VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI root", L"  HorizontalLayoutUI row",
                                       L"    ControlUI a", L"    ScrollBarUI sb", L"  TileLayoutUI tiles",
                                       L"  TabLayoutUI tabs", L"    ContainerUI page"}));
}

TEST_F(BuilderFixture, TextAndButtonElementsMakeTheirClasses)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Label name=\"l\" align=\"right\"/><Text name=\"t\"/>"
                              L"<Button name=\"b\"/><Option name=\"o\" group=\"g\" selected=\"true\"/>"
                              L"<CheckBox name=\"c\"/><label/><CheckBoxes/></VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  LabelUI l", L"  TextUI t", L"  ButtonUI b",
                                       L"  OptionUI o", L"  CheckBoxUI c"}));
}

TEST_F(BuilderFixture, ControlsAreLeftWithoutManagerUntilTheWindowAttachesThem)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Control/></VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetManager(), nullptr);
    ASSERT_TRUE(m_pm.AttachDialog(m_pResult.release()));
    EXPECT_EQ(m_pm.GetRoot()->GetManager(), &m_pm);
}

TEST_F(BuilderFixture, ElementNamesMatchExactlyAndUnknownOnesAreSkippedWithTheirChildren)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><control name=\"lower\"/><Controls name=\"longer\"/>"
                              L"<Mystery><Control name=\"inner\"/></Mystery><Control name=\"kept\"/>"
                              L"</VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI kept"}));
}

namespace
{
CControlUI* NewLabelledControl()
{
    CControlUI* pControl = new CControlUI;
    pControl->SetName(L"added");
    return pControl;
}
} // namespace

TEST_F(BuilderFixture, ClassesAddedAtStartUpAreBuiltAndCannotShadowOrRepeat)
{
    ASSERT_TRUE(AddControlClass(L"AddedForTest", &NewLabelledControl));
    EXPECT_FALSE(AddControlClass(L"AddedForTest", &NewLabelledControl));
    EXPECT_FALSE(AddControlClass(L"Control", &NewLabelledControl));
    EXPECT_FALSE(AddControlClass(L"", &NewLabelledControl));
    EXPECT_FALSE(AddControlClass(nullptr, &NewLabelledControl));
    EXPECT_FALSE(AddControlClass(L"NoFactory", nullptr));

    CControlUI* pRoot = Build(L"<Window><VerticalLayout><AddedForTest/><Control name=\"plain\"/>"
                              L"<AddedForTes/></VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI added", L"  ControlUI plain"}));
}

TEST_F(BuilderFixture, ADefaultPlacedAfterItsControlStillApplies)
{
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><Control name=\"a\" bordersize=\"2\"/></VerticalLayout>"
              L"<Default name=\"Control\" value=\"bkcolor=&quot;#FF102030&quot; bordersize=&quot;5&quot;\"/>"
              L"</Window>");
    ASSERT_NE(pRoot, nullptr);
    CControlUI* pA = static_cast<CContainerUI*>(pRoot)->GetItemAt(0);
    EXPECT_EQ(pA->GetBkColor(), 0xFF102030u);
    // The element's own attribute comes after the default and wins.
    EXPECT_EQ(pA->GetBorderSize(), 2);
}

TEST_F(BuilderFixture, TwoDefaultFontsAreBothAddedAndTheLaterIsTheDefault)
{
    ASSERT_NE(Build(L"<Window><Font name=\"Tahoma\" size=\"11\" default=\"true\"/>"
                    L"<Font name=\"Arial\" size=\"15\" bold=\"true\" default=\"true\"/>"
                    L"<Font name=\"Courier New\" italic=\"yes\"/><Control/></Window>"),
              nullptr);
    ASSERT_EQ(m_pm.GetCustomFontCount(), 3);
    EXPECT_EQ(std::wstring(m_pm.GetFontInfo(0)->sFontName.GetData()), L"Tahoma");
    EXPECT_EQ(m_pm.GetFontInfo(2)->iSize, 12);  // the default size
    EXPECT_FALSE(m_pm.GetFontInfo(2)->bItalic); // only "true" is true
    EXPECT_TRUE(m_pm.GetFontInfo(1)->bBold);
    EXPECT_EQ(std::wstring(m_pm.GetDefaultFontInfo()->sFontName.GetData()), L"Arial");
    EXPECT_EQ(m_pm.GetDefaultFontInfo()->iSize, 15);
}

TEST_F(BuilderFixture, ResourceElementsCountOnlyAsDirectChildrenOfTheRoot)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Font name=\"Arial\"/>"
                              L"<Default name=\"Control\" value=\"bkcolor=&quot;#FF0000FF&quot;\"/><Control/>"
                              L"</VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(m_pm.GetCustomFontCount(), 0);
    EXPECT_EQ(m_pm.GetDefaultAttributeList(L"Control"), nullptr);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI "}));
}

TEST_F(BuilderFixture, WindowSizeReadsCommaSpaceAndCommaSpaceSeparators)
{
    for (const wchar_t* pstrSize : {L"380,265", L"380 265", L"380, 265"})
    {
        CPaintManagerUI pm;
        CTestWindow window;
        ASSERT_TRUE(window.Create(&pm, 10, 10));
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> pRoot(builder.Create(
            STRINGorID((std::wstring(L"<Window size=\"") + pstrSize + L"\"><Control/></Window>").c_str()),
            nullptr, nullptr, &pm));
        ASSERT_NE(pRoot, nullptr);
        EXPECT_EQ(pm.GetInitSize().cx, 380) << pstrSize;
        EXPECT_EQ(pm.GetInitSize().cy, 265) << pstrSize;
        RECT rc{};
        ::GetWindowRect(window.GetHWND(), &rc);
        EXPECT_EQ(rc.right - rc.left, 380) << pstrSize;
    }
}

TEST_F(BuilderFixture, WindowAttributesReachTheManager)
{
    ASSERT_NE(
        Build(L"<Window caption=\"1,2,3,30\" sizebox=\"4,5,6,7\" roundcorner=\"8,9\" mininfo=\"100,50\" "
              L"maxinfo=\"900,700\" alpha=\"200\" showdirty=\"true\" defaultfontcolor=\"#FF112233\" "
              L"linkfontcolor=\"FF445566\" selectedcolor=\"#80778899\" unknown=\"1\"><Control/></Window>"),
        nullptr);
    const RECT& rcCaption = m_pm.GetCaptionRect();
    EXPECT_EQ(rcCaption.left + rcCaption.top * 10 + rcCaption.right * 100 + rcCaption.bottom * 1000, 30321);
    const RECT& rcBox = m_pm.GetSizeBox();
    EXPECT_EQ(rcBox.left + rcBox.top * 10 + rcBox.right * 100 + rcBox.bottom * 1000, 7654);
    EXPECT_EQ(m_pm.GetRoundCorner().cx * 10 + m_pm.GetRoundCorner().cy, 89);
    EXPECT_EQ(m_pm.GetMinInfo().cx, 100);
    EXPECT_EQ(m_pm.GetMaxInfo().cy, 700);
    EXPECT_EQ(m_pm.GetTransparent(), 200);
    EXPECT_TRUE(m_pm.IsShowUpdateRect());
    EXPECT_EQ(m_pm.GetDefaultFontColor(), 0xFF112233u);
    EXPECT_EQ(m_pm.GetDefaultLinkFontColor(), 0xFF445566u);
    EXPECT_EQ(m_pm.GetDefaultSelectedBkColor(), 0x80778899u);
}

TEST_F(BuilderFixture, ARootNotNamedWindowAppliesResourcesButNoWindowSettings)
{
    ASSERT_NE(Build(L"<Skin size=\"300,200\" caption=\"0,0,0,30\"><Font name=\"Arial\"/><Control/></Skin>"),
              nullptr);
    EXPECT_EQ(m_pm.GetCustomFontCount(), 1);
    EXPECT_EQ(m_pm.GetInitSize().cx, 0);
    EXPECT_EQ(m_pm.GetCaptionRect().bottom, 0);
}

TEST_F(BuilderFixture, IncludeWithCountThreeAddsTheIncludedControlsThreeTimes)
{
    WriteSkin("part.xml",
              "<Window><Font name=\"Arial\"/><Control name=\"x\"/><Control name=\"y\"/></Window>");
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><Include source=\"part.xml\" count=\"3\"/><Control name=\"end\"/>"
              L"</VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot),
              (Lines{L"VerticalLayoutUI ", L"  ControlUI x", L"  ControlUI y", L"  ControlUI x",
                     L"  ControlUI y", L"  ControlUI x", L"  ControlUI y", L"  ControlUI end"}));
    // The included document's resources are applied once per inclusion.
    EXPECT_EQ(m_pm.GetCustomFontCount(), 3);
}

TEST_F(BuilderFixture, AMissingIncludeLeavesTheBuildGoingAndNamesTheInclude)
{
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><Include source=\"absent.xml\"/><Control name=\"after\"/>"
              L"</VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI after"}));
    EXPECT_EQ(LastError(), L"Error opening file");
    EXPECT_EQ(LastLocation(), L"absent.xml");
}

TEST_F(BuilderFixture, ASkinFileIsFoundThroughTheResourcePath)
{
    WriteSkin("main.xml", "\xEF\xBB\xBF<Window><Container name=\"\xC3\xA9t\xC3\xA9\"/></Window>");
    CControlUI* pRoot = m_builder.Create(STRINGorID(L"main.xml"), nullptr, nullptr, &m_pm);
    m_pResult.reset(pRoot);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"ContainerUI \u00E9t\u00E9"}));
}

TEST_F(BuilderFixture, TheResourceIdFormIncludesByResourceId)
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CControlUI* pRoot = m_builder.Create(STRINGorID(101), L"xml", nullptr, &m_pm);
    m_pResult.reset(pRoot);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI root", L"  ControlUI part", L"  ControlUI part"}));
    EXPECT_EQ(m_pm.GetInitSize().cx, 200);
    EXPECT_EQ(m_pm.GetCustomFontCount(), 1);
}

TEST_F(BuilderFixture, AMissingResourceFailsWithAReason)
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    EXPECT_EQ(m_builder.Create(STRINGorID(999), L"xml", nullptr, &m_pm), nullptr);
    EXPECT_EQ(LastError(), L"Skin resource not found");
    EXPECT_EQ(LastLocation(), L"#999");
    // Without a type nothing can be found either.
    EXPECT_EQ(m_builder.Create(STRINGorID(101), nullptr, nullptr, &m_pm), nullptr);
}

TEST_F(BuilderFixture, LoadFailuresReturnNullWithTheMarkupsReason)
{
    struct Case
    {
        const wchar_t* pstrSkin;
        const wchar_t* pstrMessage;
    } cases[] = {
        {L"absent.xml", L"Error opening file"},
        {L"<Window><Control></Window>", nullptr},
        {L"<", nullptr},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Build(c.pstrSkin), nullptr) << c.pstrSkin;
        EXPECT_FALSE(LastError().empty()) << c.pstrSkin;
        if (c.pstrMessage != nullptr)
        {
            EXPECT_EQ(LastError(), c.pstrMessage);
        }
    }
    WriteSkin("empty.xml", "");
    EXPECT_EQ(Build(L"empty.xml"), nullptr);
    EXPECT_FALSE(LastError().empty());
}

TEST_F(BuilderFixture, AParentThatIsNotAContainerStopsItsLevel)
{
    // The inner control cannot be held by "a": that level stops, the rest
    // of the document is built.
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><Control name=\"a\"><Control name=\"lost\"/>"
              L"<Control name=\"lost2\"/></Control><Control name=\"b\"/></VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI a", L"  ControlUI b"}));

    // Built straight into a parent that is not a container: null.
    CControlUI notContainer;
    EXPECT_EQ(Build(L"<Window><Control/></Window>", nullptr, &notContainer), nullptr);
}

TEST_F(BuilderFixture, ControlsBuiltIntoAGivenParentAreAddedToIt)
{
    CVerticalLayoutUI parent;
    CControlUI* pFirst =
        Build(L"<Window><Control name=\"p\"/><Control name=\"q\"/></Window>", nullptr, &parent);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetName(), L"p");
    EXPECT_EQ(TreeLines(&parent), (Lines{L"VerticalLayoutUI ", L"  ControlUI p", L"  ControlUI q"}));
}

TEST_F(BuilderFixture, TopLevelControlsBeyondTheFirstAreNotLeakedWithoutAParent)
{
    CRecordingCallback callback;
    CControlUI* pRoot = Build(L"<Window><Custom1/><Custom2/><Custom3/></Window>", &callback);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(callback.m_count.nLive, 1);
    EXPECT_EQ(callback.m_count.nDestroyed, 2);
    // The tree goes before the callback whose counter its controls update.
    m_pResult.reset();
}

TEST_F(BuilderFixture, TheCallbackMakesWhatNeitherTableNorPlugInsKnow)
{
    CRecordingCallback callback;
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><CustomPanel name=\"c\"><Control name=\"in\"/></CustomPanel>"
              L"<Nobody><Control/></Nobody></VerticalLayout></Window>",
              &callback);
    EXPECT_EQ(callback.m_asked, (Lines{L"CustomPanel", L"Nobody"}));
    ASSERT_EQ(TreeLines(pRoot).size(), 3u);
    EXPECT_EQ(TreeLines(pRoot)[2], L"    ControlUI in");
    // The tree goes before the callback whose counter its controls update.
    m_pResult.reset();
}

TEST_F(BuilderFixture, TreeNodeOutsideATreeStopsItsLevel)
{
    // What the level had already added stays; nothing after the node is made.
    CControlUI* pRoot =
        Build(L"<Window><VerticalLayout><Control name=\"before\"/><TreeNode/><Control name=\"after\"/>"
              L"</VerticalLayout></Window>");
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  ControlUI before"}));
    EXPECT_EQ(LastError(), L"TreeNode outside a tree");
    EXPECT_EQ(Build(L"<Window><TreeNode/></Window>"), nullptr);
}

TEST_F(BuilderFixture, PlugInsAreAskedInOrderBeforeTheCallback)
{
    const std::wstring sFolder = Wide(ProgramFolder());
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin((sFolder + L"\\builder_plugin_a.dll").c_str()));
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin((sFolder + L"\\builder_plugin_b.dll").c_str()));
    // A second load lists the factory once.
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin((sFolder + L"\\builder_plugin_a.dll").c_str()));
    ASSERT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), 2);

    CRecordingCallback callback;
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Shared name=\"s\"/><PluginBoxB name=\"box\">"
                              L"<Control name=\"child\"/></PluginBoxB><CustomX/></VerticalLayout></Window>",
                              &callback);
    EXPECT_EQ(TreeLines(pRoot), (Lines{L"VerticalLayoutUI ", L"  SharedAUI s", L"  PluginBoxBUI box",
                                       L"    ControlUI child", L"  ContainerUI "}));
    EXPECT_EQ(callback.m_asked, (Lines{L"CustomX"}));
    // The tree goes before the callback whose counter its controls update.
    m_pResult.reset();
}

TEST(LoadPlugin, RefusesMissingModulesAndModulesWithoutAFactory)
{
    const int nBefore = CPaintManagerUI::GetPlugins()->GetSize();
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no_such_plugin.dll"));
    const std::wstring sNone = Wide(TestSupport::BinFolder()) + L"\\builder_plugin_none.dll";
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(sNone.c_str()));
    EXPECT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), nBefore);
}

TEST_F(BuilderFixture, ABuilderBuildingItsLoadedMarkupAgainForgetsTheLastError)
{
    ASSERT_TRUE(m_builder.GetMarkup()->Load(L"<Window><TreeNode/></Window>"));
    EXPECT_EQ(m_builder.Create(nullptr, &m_pm), nullptr);
    EXPECT_EQ(LastError(), L"TreeNode outside a tree");
    ASSERT_TRUE(m_builder.GetMarkup()->Load(L"<Window><Control name=\"fine\"/></Window>"));
    m_pResult.reset(m_builder.Create(nullptr, &m_pm));
    ASSERT_NE(m_pResult, nullptr);
    EXPECT_EQ(LastError(), L"");
}
