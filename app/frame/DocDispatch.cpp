#include "app/frame/DocDispatch.h"

#include "app/client/ClientLog.h"
#include "app/client/LogText.h"
#include "app/client/NarrowText.h"
#include "veneer/core/ScopedHolders.h"

#include <oleauto.h>
#include <shellapi.h>

#include <cctype>
#include <string>

namespace Qlm
{

namespace
{

// The dispatch identifiers the page's method names map to. "StartDownLoad"
// and "RestartDownLoad" share one; there is no 2001.
enum PageMethodId : DISPID
{
    kGetGameStatusId = 1999,
    kStartDownLoadId = 2000,
    kRunGameId = 2002,
    kGetSearchCountId = 2003,
    kShowUrlId = 2004,
    kJumpUrlId = 2005,
    kCloseADFrameId = 2006,
    kNotShowTodayId = 2007,
};

struct CPageMethod
{
    const wchar_t* name;
    DISPID id;
};

// In the order the names are compared.
const CPageMethod kPageMethods[] = {
    {L"GetGameStatus", kGetGameStatusId},
    {L"StartDownLoad", kStartDownLoadId},
    {L"RestartDownLoad", kStartDownLoadId},
    {L"RunGame", kRunGameId},
    {L"GetSearchCount", kGetSearchCountId},
    {L"ShowUrl", kShowUrlId},
    {L"JumpUrl", kJumpUrlId},
    {L"CloseADFrame", kCloseADFrameId},
    {L"NotShowToday", kNotShowTodayId},
};

// "StartDownLoad" reads the first of its five arguments as the game's code
// and the last as the code's parameter; "ShowUrl" reads its last argument.
constexpr UINT kDownloadArgumentCount = 5;

const char kLogTag[] = "QLMNews";
// A refused address is logged on one line and at most this long.
constexpr size_t kMaxLoggedUrlBytes = 256;

bool FindPageMethod(const wchar_t* name, DISPID& id)
{
    if (name == nullptr)
        return false;
    // VarBstrCmp measures both texts by their BSTR length prefix, which the
    // caller's plain name strings need not carry: compare copies.
    const Veneer::CScopedBstr wanted(SysAllocString(name));
    for (const CPageMethod& method : kPageMethods)
    {
        const Veneer::CScopedBstr candidate(SysAllocString(method.name));
        if (VarBstrCmp(wanted.Get(), candidate.Get(), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ)
        {
            id = method.id;
            return true;
        }
    }
    return false;
}

// The page's arguments. The array runs backwards (element 0 is the last
// argument) and holds cArgs elements; nothing beyond them is read.
class CPageArguments
{
  public:
    explicit CPageArguments(const DISPPARAMS* params)
        : m_args(params == nullptr ? nullptr : params->rgvarg),
          m_count(params == nullptr || params->rgvarg == nullptr ? 0 : params->cArgs)
    {
    }

    UINT Count() const { return m_count; }

    // The string counted from the end (0 = last argument); null unless the
    // argument is a BSTR with text.
    BSTR StringFromEnd(UINT index) const
    {
        if (index >= m_count || m_args[index].vt != VT_BSTR)
            return nullptr;
        return m_args[index].bstrVal;
    }

  private:
    const VARIANTARG* m_args;
    UINT m_count;
};

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i)
    {
        if (i >= text.size() || tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

// Only web pages may be opened for the page: an absolute http or https
// address with a host. Control characters, blanks and double quotes never
// stand unencoded in an address; in the shell's command for the browser
// they could split it into further arguments.
bool IsWebAddress(const std::string& url)
{
    size_t hostStart = 0;
    if (StartsWithNoCase(url, "http://"))
        hostStart = 7;
    else if (StartsWithNoCase(url, "https://"))
        hostStart = 8;
    else
        return false;
    if (url.size() == hostStart || url[hostStart] == '/' || url[hostStart] == '?' || url[hostStart] == '#')
        return false;
    for (const char c : url)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == ' ' || byte == '"')
            return false;
    }
    return true;
}

// Every effective action ends this way: the report, then the frame closes,
// which ends the program once the message loop gets there.
void ReportAndClose(IPageActions& actions, Model::AdActionType action)
{
    actions.SendReport(action);
    const HWND frame = actions.FrameWindow();
    if (frame != nullptr)
        PostMessageW(frame, WM_CLOSE, 0, 0);
}

void StartDownload(IPageActions& actions, const CPageArguments& args)
{
    if (args.Count() < kDownloadArgumentCount)
        return;
    const BSTR first = args.StringFromEnd(kDownloadArgumentCount - 1);
    const BSTR last = args.StringFromEnd(0);
    if (first == nullptr || last == nullptr)
        return;
    const std::string code = PageTextToNarrow(first);
    if (code.empty())
        return;
    const std::string parameter = PageTextToNarrow(last);

    // The report is sent whether or not the platform could be reached.
    if (actions.StartPlatform())
        actions.SendPlatformCommand(code, parameter);
    ReportAndClose(actions, Model::kAdActionDownload);
}

void ShowUrl(IPageActions& actions, const CPageArguments& args)
{
    const BSTR address = args.StringFromEnd(0);
    if (address == nullptr)
        return;
    const std::string url = PageTextToNarrow(address);
    if (!IsWebAddress(url))
    {
        WriteLog(kLogTag, "ShowUrl refused, not an http or https address: %s",
                 EscapeControlBytes(url, kMaxLoggedUrlBytes).c_str());
        return;
    }
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ReportAndClose(actions, Model::kAdActionShowUrl);
}

void NotShowToday(IPageActions& actions)
{
    actions.RecordNotShowToday();
    ReportAndClose(actions, Model::kAdActionNotShowToday);
}

} // namespace

CDocDispatch::CDocDispatch(IPageActions& actions) : m_actions(actions) {}

HRESULT CDocDispatch::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    // IUnknown is answered with the IDispatch pointer: COM's identity rule
    // wants one IUnknown pointer for the object whoever asks.
    if (!IsEqualIID(riid, IID_IDispatch) && !IsEqualIID(riid, IID_IUnknown))
    {
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG CDocDispatch::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG CDocDispatch::Release()
{
    const LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT CDocDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CDocDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo == nullptr)
        return E_POINTER;
    *ppTInfo = nullptr;
    return S_OK;
}

HRESULT CDocDispatch::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0)
        return E_INVALIDARG;
    DISPID id = DISPID_UNKNOWN;
    if (!FindPageMethod(rgszNames[0], id))
        return E_NOTIMPL;
    rgDispId[0] = id;
    return S_OK;
}

HRESULT CDocDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                             EXCEPINFO*, UINT*)
{
    const CPageArguments args(pDispParams);
    switch (dispIdMember)
    {
    case kStartDownLoadId:
        StartDownload(m_actions, args);
        break;
    case kShowUrlId:
        ShowUrl(m_actions, args);
        break;
    case kCloseADFrameId:
        ReportAndClose(m_actions, Model::kAdActionClose);
        break;
    case kNotShowTodayId:
        NotShowToday(m_actions);
        break;
    default:
        // "GetGameStatus", "RunGame", "GetSearchCount", "JumpUrl" and unknown
        // identifiers do nothing.
        break;
    }
    return S_OK;
}

} // namespace Qlm
