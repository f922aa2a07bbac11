// Times the dialog builder on a generated skin of about 2,000 controls
// (layouts, containers, attributes, defaults, an include) against the same
// tree made by hand-written calls: the same classes, the same default lists
// and the same SetAttribute calls, without XML. Prints the ratio, where the
// builder's time goes, and the time from the skin file to the first painted
// frame of a skinned window.

#include "veneer/Veneer.h"
#include "veneer/builder/ControlClassTable.h"

#include "BenchTimer.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

const int kRuns = 21;
const int kGroups = 90;
const int kIncludeCount = 3;

// One element of the generated skin: its class, its attributes and its
// children. Both sides are made from these.
struct Node
{
    std::wstring sClass;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::vector<Node> children;
};

const wchar_t kControlDefaults[] = L"bkcolor=\"#FF202020\" bordersize=\"1\" bordercolor=\"#FF404040\"";
const wchar_t kContainerDefaults[] = L"inset=\"2,2,2,2\" childpadding=\"1\"";

Node Leaf(int i)
{
    Node leaf{
        L"Control", {{L"name", L"leaf" + std::to_wstring(i)}, {L"height", std::to_wstring(10 + i % 7)}}, {}};
    if (i % 3 == 0)
        leaf.attributes.push_back({L"bkcolor", L"#FF3366" + std::to_wstring(10 + i % 90)});
    if (i % 4 == 0)
        leaf.attributes.push_back({L"padding", L"1,2,3,4"});
    return leaf;
}

// A group of 22 controls: a row holding a column of leaves, a tile layout
// and a container with a scroll bar.
Node Group(int g)
{
    Node column{L"VerticalLayout", {{L"width", L"120"}, {L"childpadding", L"2"}}, {}};
    for (int i = 0; i < 8; i++)
        column.children.push_back(Leaf(g * 100 + i));
    Node tiles{L"TileLayout", {{L"columns", L"3"}, {L"itemsize", L"30,20"}}, {}};
    for (int i = 0; i < 8; i++)
        tiles.children.push_back(Leaf(g * 100 + 10 + i));
    Node box{
        L"Container", {{L"name", L"box" + std::to_wstring(g)}}, {Leaf(g * 100 + 20), Leaf(g * 100 + 21)}};
    Node bar{L"ScrollBar", {{L"hor", L"false"}, {L"range", L"100"}}, {}};
    box.children.push_back(bar);
    return Node{L"HorizontalLayout", {{L"height", L"80"}, {L"bkcolor", L"#FF101010"}}, {column, tiles, box}};
}

void AppendXml(const Node& node, std::wstring& text)
{
    text += L"<" + node.sClass;
    for (const auto& attribute : node.attributes)
        text += L" " + attribute.first + L"=\"" + attribute.second + L"\"";
    if (node.children.empty())
    {
        text += L"/>";
        return;
    }
    text += L">";
    for (const Node& child : node.children)
        AppendXml(child, text);
    text += L"</" + node.sClass + L">";
}

std::wstring EscapedDefaults(const wchar_t* pstrList)
{
    std::wstring escaped;
    for (const wchar_t* p = pstrList; *p != 0; p++)
        escaped += *p == L'"' ? std::wstring(L"&quot;") : std::wstring(1, *p);
    return escaped;
}

std::wstring SkinXml(const Node& root, const std::wstring& sInclude)
{
    std::wstring text = L"<Window size=\"1280,1024\"><Font name=\"Tahoma\" size=\"12\" default=\"true\"/>"
                        L"<Default name=\"Control\" value=\"" +
                        EscapedDefaults(kControlDefaults) + L"\"/><Default name=\"Container\" value=\"" +
                        EscapedDefaults(kContainerDefaults) + L"\"/>";
    std::wstring sRoot;
    AppendXml(root, sRoot);
    // The include goes in as the root's last child.
    const size_t cchClose = std::wstring(L"</VerticalLayout>").size();
    sRoot.insert(sRoot.size() - cchClose, L"<Include source=\"" + sInclude + L"\" count=\"" +
                                              std::to_wstring(kIncludeCount) + L"\"/>");
    return text + sRoot + L"</Window>";
}

void PrepareManager(CPaintManagerUI& pm)
{
    pm.AddFont(L"Tahoma", 12, false, false, false);
    pm.SetDefaultFont(L"Tahoma", 12, false, false, false);
    pm.AddDefaultAttributeList(L"Control", kControlDefaults);
    pm.AddDefaultAttributeList(L"Container", kContainerDefaults);
}

// What the builder does for one element, written out by hand.
CControlUI* MakeByHand(const Node& node, CPaintManagerUI& pm)
{
    CControlUI* pControl = CreateControlOfClass(node.sClass.c_str());
    if (!node.children.empty())
    {
        IContainerUI* pContainer = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
        for (const Node& child : node.children)
            pContainer->Add(MakeByHand(child, pm));
    }
    pControl->SetManager(&pm, nullptr, false);
    const LPCWSTR pstrDefaults = pm.GetDefaultAttributeList(node.sClass.c_str());
    if (pstrDefaults != nullptr)
        pControl->ApplyAttributeList(pstrDefaults);
    for (const auto& attribute : node.attributes)
        pControl->SetAttribute(attribute.first.c_str(), attribute.second.c_str());
    pControl->SetManager(nullptr, nullptr, false);
    return pControl;
}

int CountNodes(const Node& node)
{
    int n = 1;
    for (const Node& child : node.children)
        n += CountNodes(child);
    return n;
}

void PrintPair(const char* pszWhat, const BestTimes& times)
{
    printf("%-44s %9.2f ms %9.2f ms %7.2fx\n", pszWhat, times.subject * 1000.0, times.reference * 1000.0,
           times.subject / times.reference);
}

std::wstring WriteSkinFile(const std::wstring& sFolder, const wchar_t* pstrName, const std::wstring& sText)
{
    const int cb = ::WideCharToMultiByte(CP_UTF8, 0, sText.c_str(), static_cast<int>(sText.size()), nullptr,
                                         0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, sText.c_str(), static_cast<int>(sText.size()), &bytes[0], cb, nullptr,
                          nullptr);
    const std::wstring sPath = sFolder + pstrName;
    HANDLE hFile = ::CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD cbWritten = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr);
    ::CloseHandle(hFile);
    return sPath;
}

// A skinned window for the time from the skin file to the first frame.
class CBenchWindow : public WindowImplBase
{
  public:
    explicit CBenchWindow(LPCWSTR pstrSkin) : m_pstrSkin(pstrSkin) {}
    LPCWSTR GetWindowClass() const override { return L"VeneerBuilderBench"; }
    CUiString GetSkinDir() override { return CUiString(); }
    CUiString GetSkinXml() override { return m_pstrSkin; }

  private:
    LPCWSTR m_pstrSkin;
};

// From creating the window (which reads and builds the skin) to the end of
// its first WM_PAINT, in two parts: the creation, and the showing with the
// first layout and paint. Taking the window down again is not counted.
struct FirstFrame
{
    double dCreate;
    double dShow;
};

FirstFrame FirstFrameSeconds(LPCWSTR pstrSkin)
{
    CBenchWindow window(pstrSkin);
    FirstFrame times{};
    times.dCreate =
        Seconds([&] { window.Create(nullptr, L"bench", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0); });
    times.dShow = Seconds([&] {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::UpdateWindow(window);
    });
    ::DestroyWindow(window);
    return times;
}

// A hidden window whose manager a built tree is attached to.
class CPlainWindow : public CWindowWnd
{
  public:
    LPCWSTR GetWindowClass() const override { return L"VeneerBuilderBenchPlain"; }
};

// Building the skin file and attaching the tree to a window's manager, each
// timed on its own.
void PrintAttachSplit()
{
    double dBuild = 1e30;
    double dAttach = 1e30;
    for (int i = 0; i < 5; i++)
    {
        CPlainWindow window;
        window.Create(nullptr, L"bench", WS_POPUP, 0, 0, 0, 1280, 1024);
        CPaintManagerUI pm;
        pm.Init(window);
        CControlUI* pRoot = nullptr;
        dBuild = std::min(dBuild, Seconds([&] {
                              CDialogBuilder builder;
                              pRoot = builder.Create(STRINGorID(L"bench_skin.xml"), nullptr, nullptr, &pm);
                          }));
        dAttach = std::min(dAttach, Seconds([&] { pm.AttachDialog(pRoot); }));
        ::DestroyWindow(window);
    }
    printf("  of which building the skin file %.2f ms, attaching the tree to the manager %.2f ms\n",
           dBuild * 1000.0, dAttach * 1000.0);
}

void PrintFirstFrame(const char* pszWhat, LPCWSTR pstrSkin)
{
    FirstFrame best{1e30, 1e30};
    for (int i = 0; i < 5; i++)
    {
        const FirstFrame times = FirstFrameSeconds(pstrSkin);
        if (times.dCreate + times.dShow < best.dCreate + best.dShow)
            best = times;
    }
    printf("%-44s %9.2f ms (creation %.2f ms, showing and first paint %.2f ms)\n", pszWhat,
           (best.dCreate + best.dShow) * 1000.0, best.dCreate * 1000.0, best.dShow * 1000.0);
}

} // namespace

int main()
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring sFolder = szTemp;
    CPaintManagerUI::SetResourcePath(sFolder.c_str());

    // The tree: a root column of groups, and the included group.
    Node root{L"VerticalLayout", {{L"name", L"root"}}, {}};
    for (int g = 0; g < kGroups; g++)
        root.children.push_back(Group(g));
    const Node included = Group(kGroups);
    std::wstring sIncluded = L"<Window>";
    AppendXml(included, sIncluded);
    sIncluded += L"</Window>";
    WriteSkinFile(sFolder, L"bench_part.xml", sIncluded);
    const std::wstring sSkin = SkinXml(root, L"bench_part.xml");
    WriteSkinFile(sFolder, L"bench_skin.xml", sSkin);
    Node handRoot = root;
    for (int i = 0; i < kIncludeCount; i++)
        handRoot.children.push_back(included);
    const int nControls = CountNodes(handRoot);

    const auto fromText = [&] {
        CPaintManagerUI pm;
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> pTree(builder.Create(STRINGorID(sSkin.c_str()), nullptr, nullptr, &pm));
        if (pTree == nullptr)
            printf("the generated skin did not build\n");
    };
    const auto byHand = [&] {
        CPaintManagerUI pm;
        PrepareManager(pm);
        std::unique_ptr<CControlUI> pTree(MakeByHand(handRoot, pm));
    };

    printf("tree of %d controls (%zu characters of skin); best of %d runs, the two sides in alternation\n",
           nControls, sSkin.size(), kRuns);
    printf("%-44s %12s %12s %8s\n", "", "builder", "by hand", "ratio");
    PrintPair("skin text to tree / the same calls by hand", CompareBest(kRuns, fromText, byHand));

    // Where the builder's time goes.
    const auto parseOnly = [&] {
        CMarkup markup;
        markup.Load(sSkin.c_str());
    };
    CDialogBuilder loaded;
    loaded.GetMarkup()->Load(sSkin.c_str());
    const auto buildOnly = [&] {
        CPaintManagerUI pm;
        std::unique_ptr<CControlUI> pTree(loaded.Create(nullptr, &pm));
    };
    printf("\nwhere the builder's time goes (each against the calls by hand):\n");
    PrintPair("  parsing the text", CompareBest(kRuns, parseOnly, byHand));
    PrintPair("  building from the parsed document", CompareBest(kRuns, buildOnly, byHand));
    std::vector<std::wstring> classes;
    for (const Node& group : handRoot.children)
        for (const Node& part : group.children)
        {
            classes.push_back(part.sClass);
            for (const Node& leaf : part.children)
                classes.push_back(leaf.sClass);
        }
    const auto lookups = [&] {
        for (int i = 0; i < 4; i++)
            for (const std::wstring& sClass : classes)
                delete CreateControlOfClass(sClass.c_str());
    };
    const auto direct = [&] {
        for (int i = 0; i < 4; i++)
            for (const std::wstring& sClass : classes)
                delete (sClass == L"Control" ? new CControlUI : static_cast<CControlUI*>(new CContainerUI));
    };
    PrintPair("  class lookup and new / new alone", CompareBest(kRuns, lookups, direct));

    if (::GetSystemMetrics(SM_CXSCREEN) > 0)
    {
        // The same window with a one-control skin shows what the window
        // system itself costs.
        WriteSkinFile(sFolder, L"bench_empty.xml", L"<Window size=\"1280,1024\"><Control/></Window>");
        printf("\nskin file to first painted frame, 1280 x 1024 window, best of 5:\n");
        PrintFirstFrame("  the generated skin", L"bench_skin.xml");
        PrintAttachSplit();
        PrintFirstFrame("  a one-control skin", L"bench_empty.xml");
    }
    return 0;
}
