#include "veneer/builder/DialogBuilder.h"

#include "veneer/builder/ControlClassTable.h"
#include "veneer/builder/WindowAttributes.h"
#include "veneer/control/AttributeParse.h"
#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlUI.h"
#include "veneer/core/Trace.h"
#include "veneer/manager/PaintManagerUI.h"

#include <cwchar>

namespace Veneer
{

// Limits of one build, shared by the builders of the documents it includes:
// a skin that includes itself, repeats an include a billion times or nests
// without end is stopped with an error instead of exhausting the stack, the
// memory or the user's patience.
struct TBuildBudget
{
    int nIncludeDepth = 0;
    int nNestingDepth = 0;
    int nControls = 0;
    int nDocuments = 0; // included documents loaded
    bool bAborted = false;
};

namespace
{

const int kMaxIncludeDepth = 16;
const int kMaxIncludeCount = 1000;
const int kMaxNestingDepth = 256;
const int kMaxControls = 50000;
// Each inclusion reads and parses a document again: the costly part of a
// skin that includes itself or multiplies its includes.
const int kMaxIncludedDocuments = 2000;
// Include attributes are read into buffers of this many characters.
const SIZE_T kMaxIncludeAttribute = 500;

// Copies as much of the text as fits, always terminated.
void CopyText(const CUiString& sText, LPWSTR pstrBuffer, SIZE_T cchMax)
{
    if (cchMax == 0)
        return;
    wcsncpy(pstrBuffer, sText.GetData(), cchMax - 1);
    pstrBuffer[cchMax - 1] = L'\0';
}

bool IsResourceElement(LPCWSTR pstrName)
{
    return wcscmp(pstrName, L"Image") == 0 || wcscmp(pstrName, L"Font") == 0 ||
           wcscmp(pstrName, L"Default") == 0;
}

void ApplyImageElement(CMarkupNode& node, CPaintManagerUI* pManager)
{
    if (!node.HasAttribute(L"name"))
        return;
    const LPCWSTR pstrType = node.HasAttribute(L"restype") ? node.GetAttributeValue(L"restype") : nullptr;
    const DWORD dwMask =
        node.HasAttribute(L"mask") ? ParseAttributeColor(node.GetAttributeValue(L"mask")) : 0;
    pManager->AddImage(node.GetAttributeValue(L"name"), pstrType, dwMask);
}

void ApplyFontElement(CMarkupNode& node, CPaintManagerUI* pManager)
{
    if (!node.HasAttribute(L"name"))
        return;
    const LPCWSTR pstrName = node.GetAttributeValue(L"name");
    const int nSize = node.HasAttribute(L"size") ? ParseAttributeInt(node.GetAttributeValue(L"size")) : 12;
    const bool bBold = ParseAttributeBool(node.GetAttributeValue(L"bold"));
    const bool bUnderline = ParseAttributeBool(node.GetAttributeValue(L"underline"));
    const bool bItalic = ParseAttributeBool(node.GetAttributeValue(L"italic"));
    pManager->AddFont(pstrName, nSize, bBold, bUnderline, bItalic);
    if (ParseAttributeBool(node.GetAttributeValue(L"default")))
        pManager->SetDefaultFont(pstrName, nSize, bBold, bUnderline, bItalic);
}

void ApplyDefaultElement(CMarkupNode& node, CPaintManagerUI* pManager)
{
    if (node.HasAttribute(L"name"))
        pManager->AddDefaultAttributeList(node.GetAttributeValue(L"name"), node.GetAttributeValue(L"value"));
}

} // namespace

CDialogBuilder::CDialogBuilder() : m_pCallback(nullptr), m_pstrtype(nullptr), m_pBudget(nullptr) {}

CDialogBuilder::~CDialogBuilder() = default;

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    if (!LoadDocument(xml, type))
        return nullptr;
    return Create(pCallback, pManager, pParent);
}

bool CDialogBuilder::LoadDocument(STRINGorID xml, LPCWSTR type)
{
    m_sErrorMsg.Empty();
    m_sErrorLocation.Empty();
    if (xml.IsId())
    {
        CUiString sId;
        sId.Format(L"#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(xml.m_lpstr)));
        const HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
        const HRSRC hResource = type != nullptr ? ::FindResourceW(hModule, xml.m_lpstr, type) : nullptr;
        const HGLOBAL hLoaded = hResource != nullptr ? ::LoadResource(hModule, hResource) : nullptr;
        const BYTE* pBytes = hLoaded != nullptr ? static_cast<const BYTE*>(::LockResource(hLoaded)) : nullptr;
        if (pBytes == nullptr)
            return SetError(L"Skin resource not found", sId);
        if (!m_xml.LoadFromMem(pBytes, ::SizeofResource(hModule, hResource), XMLFILE_ENCODING_UTF8))
            return false;
        m_pstrtype = type;
        return true;
    }
    if (xml.m_lpstr == nullptr)
        return SetError(L"No skin named", L"");
    if (*xml.m_lpstr == L'<')
        return m_xml.Load(xml.m_lpstr);
    return m_xml.LoadFromFile(xml.m_lpstr, XMLFILE_ENCODING_UTF8);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent)
{
    // The outermost build owns the limits; included documents share them.
    TBuildBudget budget;
    const bool bOutermost = m_pBudget == nullptr;
    if (bOutermost)
    {
        m_pBudget = &budget;
        m_sErrorMsg.Empty();
        m_sErrorLocation.Empty();
    }

    m_pCallback = pCallback;
    CMarkupNode root = m_xml.GetRoot();
    CControlUI* pResult = nullptr;
    if (root.IsValid())
    {
        if (pManager != nullptr)
        {
            ApplyResourceElements(root, pManager);
            if (wcscmp(root.GetName(), L"Window") == 0 && pManager->GetPaintWindow() != nullptr)
            {
                const int nAttributes = root.GetAttributeCount();
                for (int i = 0; i < nAttributes; i++)
                    ApplyWindowAttribute(*pManager, root.GetAttributeName(i), root.GetAttributeValue(i));
            }
        }
        pResult = _Parse(&root, pParent, pManager);
    }

    const bool bAborted = IsAborted();
    if (bOutermost)
        m_pBudget = nullptr;
    if (!bAborted)
        return pResult;
    // A build stopped by a limit hands back nothing; what it had already put
    // into the caller's parent stays there, like any failed build.
    if (pParent == nullptr)
        delete pResult;
    return nullptr;
}

void CDialogBuilder::ApplyResourceElements(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling())
    {
        const LPCWSTR pstrName = node.GetName();
        if (wcscmp(pstrName, L"Image") == 0)
            ApplyImageElement(node, pManager);
        else if (wcscmp(pstrName, L"Font") == 0)
            ApplyFontElement(node, pManager);
        else if (wcscmp(pstrName, L"Default") == 0)
            ApplyDefaultElement(node, pManager);
    }
}

CControlUI* CDialogBuilder::_Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (IsAborted())
        return nullptr;
    if (m_pBudget->nNestingDepth >= kMaxNestingDepth)
    {
        Abort(L"Skin nested too deeply", pRoot->GetName());
        return nullptr;
    }
    m_pBudget->nNestingDepth++;

    IContainerUI* pContainer = nullptr;
    bool bContainerAsked = false;
    CControlUI* pReturn = nullptr;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid() && !IsAborted(); node = node.GetSibling())
    {
        const LPCWSTR pstrClass = node.GetName();
        if (IsResourceElement(pstrClass))
            continue;
        if (wcscmp(pstrClass, L"Include") == 0)
        {
            ParseInclude(node, pParent, pManager);
            continue;
        }
        if (wcscmp(pstrClass, L"TreeNode") == 0)
        {
            if (IsTreeParent(pParent))
            {
                // The toolkit has no tree node class: the node is skipped
                // with its subtree, like an element that nobody can make.
                UI__Trace(L"TreeNode skipped: no tree node class");
                continue;
            }
            SetError(L"TreeNode outside a tree", pstrClass);
            if (pParent == nullptr)
                delete pReturn;
            pReturn = nullptr;
            break;
        }

        CControlUI* pControl = MakeControl(pstrClass);
        if (pControl == nullptr)
            continue;

        // Step 1: the children first, with the new control as their parent.
        if (node.HasChildren())
            _Parse(&node, pControl, pManager);

        // Step 2: into the parent: a tree node's row, or a container.
        if (pParent != nullptr)
        {
            CControlUI* pTreeNode = static_cast<CControlUI*>(pParent->GetInterface(L"TreeNode"));
            if (pTreeNode != nullptr)
            {
                CControlUI* pRow = static_cast<CControlUI*>(pTreeNode->GetInterface(L"TreeNodeHorizontal"));
                IContainerUI* pRowContainer =
                    pRow != nullptr ? static_cast<IContainerUI*>(pRow->GetInterface(L"IContainer")) : nullptr;
                if (pRowContainer == nullptr || !pRowContainer->Add(pControl))
                {
                    delete pControl;
                    continue;
                }
            }
            else
            {
                if (!bContainerAsked)
                {
                    pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
                    bContainerAsked = true;
                }
                if (pContainer == nullptr)
                {
                    // Nothing can hold the control: the level stops here.
                    delete pControl;
                    pReturn = nullptr;
                    break;
                }
                if (!pContainer->Add(pControl))
                {
                    delete pControl;
                    continue;
                }
            }
        }

        // Steps 3 to 5: defaults, then the element's own attributes.
        ApplyAttributes(node, pControl, pManager, pstrClass);
        if (pManager != nullptr)
            pControl->SetManager(nullptr, nullptr, false);

        // Step 6: the first control of the level is the result. Without a
        // parent nothing else would own the later ones.
        if (pReturn == nullptr)
            pReturn = pControl;
        else if (pParent == nullptr)
            delete pControl;
    }

    m_pBudget->nNestingDepth--;
    return pReturn;
}

void CDialogBuilder::ApplyAttributes(CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager,
                                     LPCWSTR pstrDefaultsName)
{
    if (pManager != nullptr)
    {
        pControl->SetManager(pManager, nullptr, false);
        const LPCWSTR pstrDefaults = pManager->GetDefaultAttributeList(pstrDefaultsName);
        if (pstrDefaults != nullptr)
            pControl->ApplyAttributeList(pstrDefaults);
    }
    const int nAttributes = node.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++)
        pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
}

CControlUI* CDialogBuilder::MakeControl(LPCWSTR pstrClass)
{
    if (++m_pBudget->nControls > kMaxControls)
    {
        Abort(L"Too many controls in the skin", pstrClass);
        return nullptr;
    }
    CControlUI* pControl = CreateControlOfClass(pstrClass);
    if (pControl != nullptr)
        return pControl;
    const CStdPtrArray* pPlugins = CPaintManagerUI::GetPlugins();
    for (int i = 0; i < pPlugins->GetSize(); i++)
    {
        const LPCREATECONTROL pfnCreate = reinterpret_cast<LPCREATECONTROL>(pPlugins->GetAt(i));
        pControl = pfnCreate(pstrClass);
        if (pControl != nullptr)
            return pControl;
    }
    if (m_pCallback != nullptr)
        return m_pCallback->CreateControl(pstrClass);
    return nullptr;
}

void CDialogBuilder::ParseInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (!node.HasAttributes())
        return;
    wchar_t szValue[kMaxIncludeAttribute] = {};
    int nCount = 1;
    if (node.GetAttributeValue(L"count", szValue, kMaxIncludeAttribute - 1))
        nCount = ParseAttributeInt(szValue);
    wchar_t szSource[kMaxIncludeAttribute] = {};
    if (!node.GetAttributeValue(L"source", szSource, kMaxIncludeAttribute - 1))
        return;
    if (nCount < 0 || nCount > kMaxIncludeCount)
    {
        Abort(L"Include count out of range", szValue);
        return;
    }
    if (m_pBudget->nIncludeDepth >= kMaxIncludeDepth)
    {
        Abort(L"Includes nested too deeply", szSource);
        return;
    }

    m_pBudget->nIncludeDepth++;
    for (int i = 0; i < nCount && !IsAborted(); i++)
    {
        if (++m_pBudget->nDocuments > kMaxIncludedDocuments)
        {
            Abort(L"Too many includes in the skin", szSource);
            break;
        }
        CDialogBuilder builder;
        builder.m_pBudget = m_pBudget;
        const bool bFromResource = m_pstrtype != nullptr;
        const STRINGorID xml = bFromResource ? STRINGorID(static_cast<UINT>(wcstoul(szSource, nullptr, 10)))
                                             : STRINGorID(szSource);
        builder.Create(xml, m_pstrtype, m_pCallback, pManager, pParent);
        // An include that cannot be read leaves the build going; its reason
        // stays as this builder's last error, located at the include. What
        // stopped the whole build keeps its own location.
        wchar_t szError[100] = {};
        builder.GetLastErrorMessage(szError, _countof(szError));
        if (szError[0] == L'\0')
            continue;
        m_sErrorMsg = szError;
        m_sErrorLocation = szSource;
        if (IsAborted())
        {
            builder.GetLastErrorLocation(szValue, _countof(szValue));
            m_sErrorLocation = szValue;
        }
        else
            UI__Trace(L"Include %s: %s", szSource, szError);
    }
    m_pBudget->nIncludeDepth--;
}

bool CDialogBuilder::IsTreeParent(CControlUI* pParent)
{
    return pParent != nullptr &&
           (pParent->GetInterface(L"TreeNode") != nullptr || pParent->GetInterface(L"TreeView") != nullptr);
}

CMarkup* CDialogBuilder::GetMarkup()
{
    return &m_xml;
}

void CDialogBuilder::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    if (m_sErrorMsg.IsEmpty())
        m_xml.GetLastErrorMessage(pstrMessage, cchMax);
    else
        CopyText(m_sErrorMsg, pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    if (m_sErrorMsg.IsEmpty())
        m_xml.GetLastErrorLocation(pstrSource, cchMax);
    else
        CopyText(m_sErrorLocation, pstrSource, cchMax);
}

bool CDialogBuilder::SetError(LPCWSTR pstrMessage, LPCWSTR pstrLocation)
{
    m_sErrorMsg = pstrMessage;
    m_sErrorLocation = pstrLocation;
    return false;
}

void CDialogBuilder::Abort(LPCWSTR pstrMessage, LPCWSTR pstrLocation)
{
    SetError(pstrMessage, pstrLocation);
    m_pBudget->bAborted = true;
    UI__Trace(L"Skin build stopped: %s (%s)", pstrMessage, pstrLocation);
}

bool CDialogBuilder::IsAborted() const
{
    return m_pBudget != nullptr && m_pBudget->bAborted;
}

} // namespace Veneer
