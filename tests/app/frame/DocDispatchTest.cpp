// The page's `window.external` object as a COM object: its one interface,
// its reference count and its names, seen through IDispatch only.
#include "app/frame/DocDispatch.h"

#include "veneer/core/ScopedHolders.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <initguid.h>

// IDispatchEx, which script engines ask for first.
DEFINE_GUID(kIidDispatchEx, 0xa6ef9860, 0xc720, 0x11d0, 0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9);

using Qlm::CDocDispatch;

namespace
{

// Page actions that do nothing: these tests look at the object alone (the
// actions themselves are tested against the service and platform).
class CInertPageActions final : public Qlm::IPageActions
{
  public:
    void SendReport(Model::AdActionType) override {}
    HWND FrameWindow() const override { return nullptr; }
    bool StartPlatform() override { return false; }
    bool SendPlatformCommand(const std::string&, const std::string&) override { return false; }
    void RecordNotShowToday() override {}
};

CInertPageActions inertActions;

// Tells when the object deleted itself.
class CObservedDocDispatch : public CDocDispatch
{
  public:
    explicit CObservedDocDispatch(bool& deletedFlag) : CDocDispatch(inertActions), deleted(deletedFlag) {}
    ~CObservedDocDispatch() override { deleted = true; }

  private:
    bool& deleted;
};

// Releases the browser's reference at the end of a test.
class CExternal
{
  public:
    CExternal() : object(new CDocDispatch(inertActions)) {}
    CExternal(const CExternal&) = delete;
    CExternal& operator=(const CExternal&) = delete;
    ~CExternal() { object->Release(); }
    IDispatch* operator->() const { return object; }
    IDispatch* Get() const { return object; }

  private:
    IDispatch* object;
};

HRESULT LookUp(IDispatch* external, const wchar_t* name, DISPID& id)
{
    const Veneer::CScopedBstr holder(SysAllocString(name));
    BSTR text = holder.Get();
    return external->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id);
}

} // namespace

TEST(DocDispatchObject, AnswersIDispatchAndIUnknownAndNothingElse)
{
    CExternal external;
    void* out = nullptr;
    ASSERT_EQ(S_OK, external->QueryInterface(IID_IDispatch, &out));
    EXPECT_EQ(external.Get(), out);
    // The query added a reference to the one CExternal holds.
    EXPECT_EQ(1u, external->Release());

    // COM identity: IUnknown is the same pointer whichever interface asks,
    // and a second query gives it again.
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, external->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<IUnknown*>(external.Get()), identity);
    void* again = nullptr;
    ASSERT_EQ(S_OK, identity->QueryInterface(IID_IUnknown, &again));
    EXPECT_EQ(identity, again);
    EXPECT_EQ(2u, identity->Release());
    EXPECT_EQ(1u, identity->Release());

    for (const IID* iid : {&kIidDispatchEx, &IID_IClassFactory, &IID_IPersist})
    {
        out = &out;
        EXPECT_EQ(E_NOINTERFACE, external->QueryInterface(*iid, &out));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(E_POINTER, external->QueryInterface(IID_IDispatch, nullptr));
    EXPECT_EQ(2u, external->AddRef());
    EXPECT_EQ(1u, external->Release());
}

TEST(DocDispatchObject, DeletesItselfWhenTheLastReferenceGoes)
{
    bool deleted = false;
    IDispatch* external = new CObservedDocDispatch(deleted);
    EXPECT_EQ(2u, external->AddRef());
    EXPECT_EQ(3u, external->AddRef());
    EXPECT_EQ(2u, external->Release());
    EXPECT_EQ(1u, external->Release());
    EXPECT_FALSE(deleted);
    EXPECT_EQ(0u, external->Release());
    EXPECT_TRUE(deleted);
}

TEST(DocDispatchObject, HasNoTypeInformation)
{
    CExternal external;
    UINT count = 7;
    EXPECT_EQ(S_OK, external->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&count);
    EXPECT_EQ(S_OK, external->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    EXPECT_EQ(nullptr, info);
    EXPECT_EQ(E_POINTER, external->GetTypeInfoCount(nullptr));
    EXPECT_EQ(E_POINTER, external->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr));
}

TEST(DocDispatchNames, EveryPageNameHasItsIdentifier)
{
    const struct
    {
        const wchar_t* name;
        DISPID id;
    } names[] = {
        {L"GetGameStatus", 1999}, {L"StartDownLoad", 2000},  {L"RestartDownLoad", 2000},
        {L"RunGame", 2002},       {L"GetSearchCount", 2003}, {L"ShowUrl", 2004},
        {L"JumpUrl", 2005},       {L"CloseADFrame", 2006},   {L"NotShowToday", 2007},
    };
    CExternal external;
    for (const auto& entry : names)
    {
        DISPID id = 0;
        EXPECT_EQ(S_OK, LookUp(external.Get(), entry.name, id)) << entry.name;
        EXPECT_EQ(entry.id, id) << entry.name;
    }
}

TEST(DocDispatchNames, OnlyTheFirstNameIsLookedUp)
{
    CExternal external;
    // Plain strings, not BSTRs: the caller's names carry no length prefix.
    wchar_t first[] = L"ShowUrl";
    wchar_t second[] = L"CloseADFrame";
    LPOLESTR names[] = {first, second};
    DISPID ids[] = {-5, -5};
    EXPECT_EQ(S_OK, external->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(2004, ids[0]);
    EXPECT_EQ(-5, ids[1]);
}

TEST(DocDispatchNames, OtherNamesAreNotImplementedAndLeaveTheIdentifier)
{
    CExternal external;
    for (const wchar_t* name :
         {L"showurl", L"SHOWURL", L"StartDownload", L"closeADFrame", L"ShowUrl ", L"ShowUr", L"Foo", L""})
    {
        DISPID id = -5;
        EXPECT_EQ(E_NOTIMPL, LookUp(external.Get(), name, id)) << static_cast<const void*>(name);
        EXPECT_EQ(-5, id);
    }
    LPOLESTR nullName = nullptr;
    DISPID id = -5;
    EXPECT_EQ(E_NOTIMPL, external->GetIDsOfNames(IID_NULL, &nullName, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(-5, id);
}

TEST(DocDispatchNames, MissingArraysAreRefused)
{
    CExternal external;
    wchar_t name[] = L"ShowUrl";
    LPOLESTR names[] = {name};
    DISPID id = -5;
    EXPECT_EQ(E_INVALIDARG, external->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(E_INVALIDARG, external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, nullptr));
    EXPECT_EQ(E_INVALIDARG, external->GetIDsOfNames(IID_NULL, names, 0, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(-5, id);
}
