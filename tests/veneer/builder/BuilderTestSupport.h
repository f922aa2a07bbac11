#pragma once

#include "veneer/builder/DialogBuilder.h"
#include "veneer/control/ControlUI.h"
#include "veneer/manager/PaintManagerUI.h"

#include "TestWindow.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Veneer
{

// A live window and its manager for building skins into, and a scratch
// folder that serves as the resource path for skin files.
class BuilderFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds a skin text (UTF-16) with the fixture's manager; the result is
    // owned by the fixture.
    CControlUI* Build(const std::wstring& sSkin, IDialogBuilderCallback* pCallback = nullptr,
                      CControlUI* pParent = nullptr);
    // Writes a skin file (UTF-8) into the resource folder.
    void WriteSkin(const std::string& name, const std::string& text);
    std::wstring LastError() const;
    std::wstring LastLocation() const;

    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CDialogBuilder m_builder;
    std::unique_ptr<CControlUI> m_pResult;
    TestSupport::CScratchFolder m_folder;
};

// The tree in document order as "Class name" per control, children after
// their parent, each line indented by two spaces per level.
std::vector<std::wstring> TreeLines(CControlUI* pRoot);

} // namespace Veneer
