#include "BuilderTestSupport.h"

#include "veneer/control/ContainerUI.h"

namespace Veneer
{

namespace
{

void AddTreeLines(CControlUI* pControl, int iDepth, std::vector<std::wstring>& lines)
{
    lines.push_back(std::wstring(static_cast<size_t>(iDepth) * 2, L' ') + pControl->GetClass() + L" " +
                    pControl->GetName().GetData());
    IContainerUI* pContainer = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
    for (int i = 0; pContainer != nullptr && i < pContainer->GetCount(); i++)
        AddTreeLines(pContainer->GetItemAt(i), iDepth + 1, lines);
}

} // namespace

void BuilderFixture::SetUp()
{
    ASSERT_TRUE(m_window.Create(&m_pm, 100, 50));
    CPaintManagerUI::SetResourcePath(std::wstring(m_folder.Path().begin(), m_folder.Path().end()).c_str());
}

void BuilderFixture::TearDown()
{
    m_pResult.reset();
    m_window.Destroy();
    CPaintManagerUI::SetResourcePath(L"");
}

CControlUI* BuilderFixture::Build(const std::wstring& sSkin, IDialogBuilderCallback* pCallback,
                                  CControlUI* pParent)
{
    CControlUI* pRoot = m_builder.Create(STRINGorID(sSkin.c_str()), nullptr, pCallback, &m_pm, pParent);
    if (pParent == nullptr)
        m_pResult.reset(pRoot);
    return pRoot;
}

void BuilderFixture::WriteSkin(const std::string& name, const std::string& text)
{
    ASSERT_TRUE(TestSupport::WriteFileBytes(m_folder.File(name), text));
}

std::wstring BuilderFixture::LastError() const
{
    wchar_t szMessage[100] = {};
    m_builder.GetLastErrorMessage(szMessage, _countof(szMessage));
    return szMessage;
}

std::wstring BuilderFixture::LastLocation() const
{
    wchar_t szLocation[100] = {};
    m_builder.GetLastErrorLocation(szLocation, _countof(szLocation));
    return szLocation;
}

std::vector<std::wstring> TreeLines(CControlUI* pRoot)
{
    std::vector<std::wstring> lines;
    if (pRoot != nullptr)
        AddTreeLines(pRoot, 0, lines);
    return lines;
}

} // namespace Veneer
