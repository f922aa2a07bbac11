#pragma once

#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/markup/Markup.h"

#include <windows.h>

namespace Veneer
{

class CControlUI;
class CPaintManagerUI;
struct TBuildBudget;

// Lets a window make controls for element names that the builder and the
// plug-ins do not know.
class IDialogBuilderCallback
{
  public:
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

  protected:
    ~IDialogBuilderCallback() = default;
};

// A skin document named either by a module resource id or by a text (a file
// name, or the document itself when it starts with '<').
class VENEER_API STRINGorID
{
  public:
    STRINGorID(LPCWSTR lpString) : m_lpstr(lpString) {}
    STRINGorID(UINT nID) : m_lpstr(MAKEINTRESOURCEW(nID)) {}

    bool IsId() const { return IS_INTRESOURCE(m_lpstr); }

    LPCWSTR m_lpstr;
};

// Turns a skin document into a tree of controls. The document's resource
// elements (Image, Font, Default) fill the manager's tables before any
// control is made; a root named Window carries the window's settings; every
// other element becomes a control of the class its name gives, made from
// the class table, by a plug-in or by the callback. One builder serves one
// document: the markup stays loaded until the builder goes.
class VENEER_API CDialogBuilder
{
  public:
    CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;
    ~CDialogBuilder();

    // Loads the document (a resource id of the given type, an inline text
    // or a skin name) and builds it; null when it cannot be loaded or built.
    CControlUI* Create(STRINGorID xml, LPCWSTR type = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds the document already loaded; the first control made at the top
    // level, or null.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr, CPaintManagerUI* pManager = nullptr,
                       CControlUI* pParent = nullptr);

    CMarkup* GetMarkup();

    // Why the last load or build failed: the builder's own reason when it
    // gave up (limits, a missing resource, an include that could not be
    // read), otherwise the markup's.
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

  private:
    bool LoadDocument(STRINGorID xml, LPCWSTR type);
    void ApplyResourceElements(CMarkupNode& root, CPaintManagerUI* pManager);
    CControlUI* _Parse(CMarkupNode* pRoot, CControlUI* pParent = nullptr,
                       CPaintManagerUI* pManager = nullptr);
    void ParseInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    static bool IsTreeParent(CControlUI* pParent);
    CControlUI* MakeControl(LPCWSTR pstrClass);
    void ApplyAttributes(CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager,
                         LPCWSTR pstrDefaultsName);
    // Records why a load failed (the build, if any, goes on) ...
    bool SetError(LPCWSTR pstrMessage, LPCWSTR pstrLocation);
    // ... or stops the whole build, included documents and all.
    void Abort(LPCWSTR pstrMessage, LPCWSTR pstrLocation);
    bool IsAborted() const;

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback;
    LPCWSTR m_pstrtype;

    // Limits shared with the builders of included documents; owned by the
    // outermost build.
    TBuildBudget* m_pBudget;
    CUiString m_sErrorMsg;
    CUiString m_sErrorLocation;
};

} // namespace Veneer
