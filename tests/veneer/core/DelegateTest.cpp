#include "veneer/core/Delegate.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Veneer;

namespace
{

std::vector<int> g_calls;

bool First(void*)
{
    g_calls.push_back(1);
    return true;
}

bool Refuses(void*)
{
    g_calls.push_back(2);
    return false;
}

bool Third(void*)
{
    g_calls.push_back(3);
    return true;
}

class Listener
{
  public:
    bool OnEvent(void* param)
    {
        received = param;
        return answer;
    }
    bool OnOther(void*) { return true; }

    void* received = nullptr;
    bool answer = true;
};

} // namespace

TEST(EventSource, EmptySourceIsFalseAndCallsAnswerTrue)
{
    CEventSource source;
    EXPECT_FALSE(source);
    EXPECT_TRUE(source(nullptr));
}

TEST(EventSource, StopsAtTheFirstFalse)
{
    g_calls.clear();
    CEventSource source;
    source += First;
    source += Refuses;
    source += Third;
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ((std::vector<int>{1, 2}), g_calls);

    g_calls.clear();
    source -= Refuses;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ((std::vector<int>{1, 3}), g_calls);
}

TEST(EventSource, DuplicatesAreKeptOnceAndRemovedOnce)
{
    CEventSource source;
    source += First;
    source += First;
    EXPECT_TRUE(source);
    source -= First;
    EXPECT_FALSE(source);
    source -= First; // absent: nothing happens
    EXPECT_FALSE(source);
}

TEST(EventSource, MemberDelegatesBindTheirObject)
{
    Listener a, b;
    CEventSource source;
    source += MakeDelegate(&a, &Listener::OnEvent);
    source += MakeDelegate(&b, &Listener::OnEvent);
    source += MakeDelegate(&a, &Listener::OnEvent); // equal: ignored
    int payload = 0;
    EXPECT_TRUE(source(&payload));
    EXPECT_EQ(&payload, a.received);
    EXPECT_EQ(&payload, b.received);

    // The same object with another member function is a different delegate.
    EXPECT_FALSE(MakeDelegate(&a, &Listener::OnEvent).Equals(MakeDelegate(&a, &Listener::OnOther)));
    EXPECT_FALSE(MakeDelegate(&a, &Listener::OnEvent).Equals(MakeDelegate(&b, &Listener::OnEvent)));

    a.answer = false;
    b.received = nullptr;
    EXPECT_FALSE(source(&payload));
    EXPECT_EQ(nullptr, b.received);
    source -= MakeDelegate(&a, &Listener::OnEvent);
    EXPECT_TRUE(source(&payload));
    EXPECT_EQ(&payload, b.received);
}

namespace
{

// An object holding a source, as a control holds its observers.
struct Holder
{
    CEventSource source;
};

Holder* g_pHolder = nullptr;

bool DeletesTheHolder(void*)
{
    g_calls.push_back(4);
    delete g_pHolder;
    g_pHolder = nullptr;
    return true;
}

bool CallsAgain(void*)
{
    g_calls.push_back(5);
    if (g_calls.size() == 1)
        g_pHolder->source(nullptr);
    return true;
}

} // namespace

TEST(EventSource, DelegateThatDestroysTheSourceEndsEveryCallOnIt)
{
    g_calls.clear();
    g_pHolder = new Holder();
    g_pHolder->source += DeletesTheHolder;
    g_pHolder->source += Third;
    EXPECT_TRUE(g_pHolder->source(nullptr));
    EXPECT_EQ((std::vector<int>{4}), g_calls);

    // Destroyed in a nested call: the outer call stops as well.
    g_calls.clear();
    g_pHolder = new Holder();
    g_pHolder->source += CallsAgain;
    g_pHolder->source += DeletesTheHolder;
    g_pHolder->source += Third;
    g_pHolder->source(nullptr);
    EXPECT_EQ((std::vector<int>{5, 5, 4}), g_calls);
    EXPECT_EQ(g_pHolder, nullptr);
}

TEST(Delegate, CopiesKeepFunctionAndObject)
{
    Listener a;
    const CDelegate<Listener, Listener> d(&a, &Listener::OnEvent);
    CDelegateBase* copy = d.Copy();
    EXPECT_TRUE(copy->Equals(d));
    EXPECT_EQ(&a, copy->GetObjectW());
    int payload = 0;
    EXPECT_TRUE((*copy)(&payload));
    EXPECT_EQ(&payload, a.received);
    delete copy;

    const CDelegateStatic s(First);
    EXPECT_EQ(nullptr, s.GetObjectW());
    EXPECT_EQ(reinterpret_cast<void*>(&First), s.GetFn());
}
