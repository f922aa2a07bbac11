#include "veneer/core/ComObject.h"

#include <gtest/gtest.h>

#include <ocidl.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

// A COM object of two interfaces that counts its deletions.
class CProbe final : public CComObject<CProbe, CPlainRefCount, CNamelessDispatch<IDispatch>, IConnectionPoint>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch),
                                             Entry<IConnectionPoint>(IID_IConnectionPoint)};

    explicit CProbe(int& deletions) : m_deletions(deletions) {}

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override
    {
        return AnswerValue(IID_IDispatch, pIID);
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override
    {
        return AnswerNothing(ppCPC, E_UNEXPECTED);
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override
    {
        return AnswerNothing(ppEnum, E_NOTIMPL);
    }

  private:
    ~CProbe() override { ++m_deletions; }

    int& m_deletions;
};

// The reference count an object has now, read through AddRef and Release.
ULONG RefsOf(IUnknown* pObject)
{
    pObject->AddRef();
    return pObject->Release();
}

IUnknown* IdentityOf(IUnknown* pInterface)
{
    IUnknown* pIdentity = nullptr;
    EXPECT_EQ(pInterface->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pIdentity)), S_OK);
    if (pIdentity != nullptr)
        pIdentity->Release();
    return pIdentity;
}

// A new probe, seen through each of its interfaces; the test hands back
// the creator's reference.
class ComObjectProbe : public testing::Test
{
  protected:
    // The creator's reference is the last one left, and giving it back
    // deletes the object, once.
    void ReleaseLastReference()
    {
        EXPECT_EQ(RefsOf(m_pDispatch), 1u);
        m_pProbe->Release();
        EXPECT_EQ(m_deletions, 1);
    }

    int m_deletions = 0;
    CProbe* m_pProbe = new CProbe(m_deletions);
    IDispatch* m_pDispatch = m_pProbe;
    IConnectionPoint* m_pPoint = m_pProbe;
};

} // namespace

TEST_F(ComObjectProbe, EveryInterfaceAnswersTheSameIUnknownAndReachesTheOthers)
{
    IDispatch* pDispatch = m_pDispatch;
    IConnectionPoint* pPoint = m_pPoint;
    ASSERT_NE(static_cast<void*>(pDispatch), static_cast<void*>(pPoint));

    IUnknown* pIdentity = IdentityOf(pDispatch);
    EXPECT_EQ(pIdentity, static_cast<IUnknown*>(pDispatch)); // the first row's interface
    EXPECT_EQ(IdentityOf(pPoint), pIdentity);

    // Each interface reaches the other, and back: the answers are the
    // interfaces themselves, not some other view of the object.
    IConnectionPoint* pFromDispatch = nullptr;
    ASSERT_EQ(pDispatch->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(&pFromDispatch)),
              S_OK);
    EXPECT_EQ(pFromDispatch, pPoint);
    IDispatch* pBack = nullptr;
    ASSERT_EQ(pFromDispatch->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pBack)), S_OK);
    EXPECT_EQ(pBack, pDispatch);
    IID connection{};
    EXPECT_EQ(pFromDispatch->GetConnectionInterface(&connection), S_OK);
    pBack->Release();
    pFromDispatch->Release();
    ReleaseLastReference();
}

TEST_F(ComObjectProbe, UnknownInterfaceOrMissingOutPointerIsRefusedWithoutAReference)
{
    IDispatch* pDispatch = m_pDispatch;
    void* pOut = m_pProbe; // a stale value the refusal must clear
    EXPECT_EQ(pDispatch->QueryInterface(IID_IConnectionPointContainer, &pOut), E_NOINTERFACE);
    EXPECT_EQ(pOut, nullptr);
    pOut = m_pProbe;
    EXPECT_EQ(pDispatch->QueryInterface(IID_IClassFactory, &pOut), E_NOINTERFACE);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(pDispatch->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(pDispatch->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
    ReleaseLastReference();
}

TEST_F(ComObjectProbe, LastReleaseDeletesOnceAndReleaseAnswersTheCountLeft)
{
    EXPECT_EQ(m_pPoint->AddRef(), 2u);
    EXPECT_EQ(m_pDispatch->AddRef(), 3u);
    EXPECT_EQ(m_pPoint->Release(), 2u);
    EXPECT_EQ(m_pDispatch->Release(), 1u);
    EXPECT_EQ(m_deletions, 0);
    EXPECT_EQ(m_pPoint->Release(), 0u);
    EXPECT_EQ(m_deletions, 1);
}

TEST(ComObject, CreateHandsOverTheAnswerOrDeletesTheObject)
{
    int deletions = 0;
    IConnectionPoint* pPoint = nullptr;
    ASSERT_EQ(CProbe::Create(IID_IConnectionPoint, reinterpret_cast<void**>(&pPoint), deletions), S_OK);
    ASSERT_NE(pPoint, nullptr);
    EXPECT_EQ(RefsOf(pPoint), 1u);
    EXPECT_EQ(deletions, 0);
    pPoint->Release();
    EXPECT_EQ(deletions, 1);

    void* pOut = &deletions;
    EXPECT_EQ(CProbe::Create(IID_IClassFactory, &pOut, deletions), E_NOINTERFACE);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(deletions, 2);

    // Nowhere to put it: none is made (and so none deleted).
    EXPECT_EQ(CProbe::Create(IID_IConnectionPoint, nullptr, deletions), E_POINTER);
    EXPECT_EQ(deletions, 2);
}

namespace
{

// An object whose destructor reaches itself through QueryInterface, as a
// container answering the last calls of an object going away may.
class CSelfReaching final : public CComObject<CSelfReaching, CPlainRefCount, IUnknown>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IUnknown>(IID_IUnknown)};

    explicit CSelfReaching(int& deletions) : m_deletions(deletions) {}

  private:
    ~CSelfReaching() override
    {
        ++m_deletions;
        CComPtrHolder<IUnknown> self;
        QueryInterface(IID_IUnknown, self.OutAsVoid());
    }

    int& m_deletions;
};

} // namespace

TEST(ComObject, ReferenceTakenAndDroppedByTheDestructorDoesNotDeleteAgain)
{
    int deletions = 0;
    IUnknown* pObject = new CSelfReaching(deletions);
    EXPECT_EQ(pObject->Release(), 0u);
    EXPECT_EQ(deletions, 1);
}

// Both counts start with the creator's reference and answer the count left.
template <typename TRefCount> std::vector<ULONG> CountSteps()
{
    TRefCount refs;
    std::vector<ULONG> steps;
    steps.push_back(refs.Increment());
    steps.push_back(refs.Increment());
    steps.push_back(refs.Decrement());
    steps.push_back(refs.Decrement());
    steps.push_back(refs.Decrement());
    return steps;
}

TEST(ComObject, PlainAndAtomicCountsCountAlike)
{
    const std::vector<ULONG> expected{2, 3, 2, 1, 0};
    EXPECT_EQ(CountSteps<CPlainRefCount>(), expected);
    EXPECT_EQ(CountSteps<CAtomicRefCount>(), expected);
}

TEST(ComObject, NamelessDispatchHasNoTypeInformationNamesOrMembers)
{
    int deletions = 0;
    CComPtrHolder<IDispatch> dispatch;
    ASSERT_EQ(CProbe::Create(IID_IDispatch, dispatch.OutAsVoid(), deletions), S_OK);
    UINT count = 7;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(dispatch->GetTypeInfoCount(nullptr), E_POINTER);
    ITypeInfo* pInfo = reinterpret_cast<ITypeInfo*>(&count);
    EXPECT_EQ(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &pInfo), E_NOTIMPL);
    EXPECT_EQ(pInfo, nullptr);
    EXPECT_EQ(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr), E_NOTIMPL);

    wchar_t name[] = L"navigate";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    DISPPARAMS noArguments{};
    EXPECT_EQ(dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments,
                               nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST(ComOutParameters, AnswersFillTheCallersPlaceOrRefuseAMissingOne)
{
    int deletions = 0;
    CComPtrHolder<IDispatch> dispatch;
    ASSERT_EQ(CProbe::Create(IID_IDispatch, dispatch.OutAsVoid(), deletions), S_OK);

    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(AnswerValue(ToVariantBool(true), &flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(AnswerValue<VARIANT_BOOL>(VARIANT_TRUE, nullptr), E_POINTER);

    IDispatch* pOut = nullptr;
    EXPECT_EQ(AnswerInterface(dispatch.Get(), &pOut), S_OK);
    EXPECT_EQ(pOut, dispatch.Get());
    EXPECT_EQ(RefsOf(dispatch.Get()), 2u); // the caller's reference
    pOut->Release();
    EXPECT_EQ(AnswerInterface<IDispatch>(nullptr, &pOut), S_OK);
    EXPECT_EQ(pOut, nullptr);
    pOut = dispatch.Get();
    EXPECT_EQ(AnswerInterface<IDispatch>(nullptr, &pOut, E_FAIL), E_FAIL);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(AnswerInterface(dispatch.Get(), &pOut, E_FAIL), S_OK);
    pOut->Release();
    EXPECT_EQ(AnswerInterface(dispatch.Get(), static_cast<IDispatch**>(nullptr)), E_POINTER);
    EXPECT_EQ(RefsOf(dispatch.Get()), 1u);

    pOut = dispatch.Get();
    EXPECT_EQ(AnswerNothing(&pOut, OLE_S_USEREG), OLE_S_USEREG);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(AnswerNothing(static_cast<IDispatch**>(nullptr), E_NOTIMPL), E_NOTIMPL);

    const std::wstring text(L"a\0b", 3);
    CScopedBstr copy;
    EXPECT_EQ(AnswerText(text, copy.Out()), S_OK);
    EXPECT_EQ(copy.Text(), text);
    EXPECT_EQ(AnswerText(text, nullptr), E_POINTER);
}

TEST(ComMemberNames, NameIsNumberedByItsPlaceOrRefused)
{
    const wchar_t* const members[] = {L"external", L"close", L"alert"};
    struct
    {
        const wchar_t* pstrName;
        bool bIgnoreCase;
        HRESULT hr;
        DISPID id;
    } const cases[] = {
        {L"external", false, S_OK, 10},
        {L"alert", false, S_OK, 12},
        {L"Alert", false, DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"Alert", true, S_OK, 12},
        {L"aler", true, DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"", false, DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const auto& c : cases)
    {
        std::wstring name = c.pstrName;
        LPOLESTR names[] = {name.data()};
        DISPID id = 0;
        EXPECT_EQ(FindMemberName(members, 10, c.bIgnoreCase, names, 1, &id), c.hr) << c.pstrName;
        EXPECT_EQ(id, c.id) << c.pstrName;
    }

    std::wstring close = L"close";
    LPOLESTR names[] = {close.data()};
    LPOLESTR noName[] = {nullptr};
    DISPID id = 0;
    EXPECT_EQ(FindMemberName(members, 10, false, names, 0, &id), E_INVALIDARG);
    EXPECT_EQ(FindMemberName(members, 10, false, noName, 1, &id), E_INVALIDARG);
    EXPECT_EQ(FindMemberName(members, 10, false, names, 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(FindMemberName(members, 10, false, nullptr, 1, &id), E_INVALIDARG);
    EXPECT_EQ(id, 0);
}

TEST(ComPtrHolder, CopiesShareMovesHandOverAndEveryHolderReleasesItsOwn)
{
    int deletions = 0;
    CProbe* pProbe = new CProbe(deletions);
    IDispatch* pDispatch = pProbe;
    {
        CComPtrHolder<IDispatch> first(pDispatch);
        EXPECT_EQ(RefsOf(pDispatch), 2u);
        CComPtrHolder<IDispatch> copy(first);
        EXPECT_EQ(RefsOf(pDispatch), 3u);
        CComPtrHolder<IDispatch> moved(std::move(copy));
        EXPECT_EQ(RefsOf(pDispatch), 3u);
        EXPECT_FALSE(copy);
        copy = moved; // assigned over an empty holder
        EXPECT_EQ(RefsOf(pDispatch), 4u);
        copy = copy;
        EXPECT_EQ(RefsOf(pDispatch), 4u);
        moved.Reset();
        EXPECT_FALSE(moved);
        EXPECT_EQ(RefsOf(pDispatch), 3u);
    }
    EXPECT_EQ(RefsOf(pDispatch), 1u);

    // Attach takes over the creator's reference; Detach gives it back.
    CComPtrHolder<IDispatch> owner;
    owner.Attach(pDispatch);
    EXPECT_EQ(RefsOf(pDispatch), 1u);
    EXPECT_EQ(owner.Detach(), pDispatch);
    EXPECT_FALSE(owner);
    owner.Attach(pDispatch);
    owner.Reset();
    EXPECT_EQ(deletions, 1);
}

TEST(ComPtrHolder, OutAndQueryToReleaseWhatWasHeldFirst)
{
    int deletions = 0;
    CComPtrHolder<IDispatch> dispatch;
    ASSERT_EQ(CProbe::Create(IID_IDispatch, dispatch.OutAsVoid(), deletions), S_OK);
    CComPtrHolder<IConnectionPoint> point;
    ASSERT_EQ(dispatch.QueryTo(IID_IConnectionPoint, point), S_OK);
    EXPECT_EQ(RefsOf(dispatch.Get()), 2u);

    // A refused query leaves the target empty, and what it held released.
    CComPtrHolder<IConnectionPointContainer> container;
    EXPECT_EQ(point.QueryTo(IID_IConnectionPointContainer, container), E_NOINTERFACE);
    EXPECT_FALSE(container);
    CComPtrHolder<IConnectionPoint> reused(point.Get());
    EXPECT_EQ(RefsOf(dispatch.Get()), 3u);
    EXPECT_EQ(CComPtrHolder<IDispatch>().QueryTo(IID_IConnectionPoint, reused), E_POINTER);
    EXPECT_FALSE(reused);
    EXPECT_EQ(RefsOf(dispatch.Get()), 2u);

    // A second call into the same holder drops the first answer.
    ASSERT_EQ(dispatch.QueryTo(IID_IConnectionPoint, point), S_OK);
    EXPECT_EQ(RefsOf(dispatch.Get()), 2u);
    point.Reset();
    dispatch.Reset();
    EXPECT_EQ(deletions, 1);
}

namespace
{

// An object whose destructor looks at the holder that released it.
class CWatcher final : public CComObject<CWatcher, CPlainRefCount, IUnknown>
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IUnknown>(IID_IUnknown)};

    CWatcher(const CComPtrHolder<IUnknown>& holder, bool& sawEmpty) : m_holder(holder), m_sawEmpty(sawEmpty)
    {
    }

  private:
    ~CWatcher() override { m_sawEmpty = !m_holder; }

    const CComPtrHolder<IUnknown>& m_holder;
    bool& m_sawEmpty;
};

} // namespace

TEST(ComPtrHolder, ObjectReleasedByResetFindsTheHolderAlreadyEmpty)
{
    CComPtrHolder<IUnknown> holder;
    bool sawEmpty = false;
    holder.Attach(new CWatcher(holder, sawEmpty));
    holder.Reset();
    EXPECT_TRUE(sawEmpty);
}

TEST(ScopedBstr, KeepsTheWholeTextAndHandsItOver)
{
    const std::wstring text(L"page\0title", 10);
    CScopedBstr copy(text);
    ASSERT_NE(copy.Get(), nullptr);
    EXPECT_EQ(SysStringLen(copy.Get()), 10u);
    EXPECT_EQ(copy.Text(), text);

    BSTR handed = copy.Detach();
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_EQ(copy.Text(), L"");
    copy.Reset(handed);
    EXPECT_EQ(copy.Get(), handed);

    CScopedBstr empty(L"");
    ASSERT_NE(empty.Get(), nullptr); // an empty BSTR, not a missing one
    EXPECT_EQ(empty.Text(), L"");
}

TEST(ScopedVariant, HoldsTextAsABstrAndStartsEmpty)
{
    CScopedVariant none;
    EXPECT_EQ(V_VT(none.Get()), VT_EMPTY);
    CScopedVariant text(L"file:///C:/ad.html");
    ASSERT_EQ(V_VT(&text.Value()), VT_BSTR);
    EXPECT_EQ(std::wstring(V_BSTR(&text.Value())), L"file:///C:/ad.html");
    EXPECT_EQ(SysStringLen(V_BSTR(&text.Value())), 18u);
}
