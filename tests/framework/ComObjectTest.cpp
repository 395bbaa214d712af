#include "framework/ComObject.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;

struct ITestGreeter : public IUnknown {
    virtual int STDMETHODCALLTYPE Greet() = 0;
};
__CRT_UUID_DECL(ITestGreeter, 0x0b7c5e10, 0x3c0a, 0x4b53, 0x9a, 0x8e, 0x51, 0x2f, 0x6d, 0x41, 0x20, 0x01)

struct ITestCounter : public IUnknown {
    virtual int STDMETHODCALLTYPE Count() = 0;
};
__CRT_UUID_DECL(ITestCounter, 0x0b7c5e10, 0x3c0a, 0x4b53, 0x9a, 0x8e, 0x51, 0x2f, 0x6d, 0x41, 0x20, 0x02)

// Two interfaces sharing a base, as IOleInPlaceSite and IOleInPlaceFrame share IOleWindow.
struct ITestBigCounter : public ITestCounter {
    virtual int STDMETHODCALLTYPE Add(int amount) = 0;
};
__CRT_UUID_DECL(ITestBigCounter, 0x0b7c5e10, 0x3c0a, 0x4b53, 0x9a, 0x8e, 0x51, 0x2f, 0x6d, 0x41, 0x20, 0x03)

struct ITestResetCounter : public ITestCounter {
    virtual void STDMETHODCALLTYPE Reset() = 0;
};
__CRT_UUID_DECL(ITestResetCounter, 0x0b7c5e10, 0x3c0a, 0x4b53, 0x9a, 0x8e, 0x51, 0x2f, 0x6d, 0x41, 0x20, 0x04)

namespace {

class CCounted : public CComObjectBase<CCounted, ITestCounter> {
public:
    CCounted(int start, bool* destroyed) : m_count(start), m_destroyed(destroyed) {}
    ~CCounted() override { *m_destroyed = true; }
    int STDMETHODCALLTYPE Count() override { return ++m_count; }

private:
    int m_count;
    bool* m_destroyed;
};

TEST(ComObject, CreateOwnsTheOnlyReferenceAndOnlyAnsweredQueriesAddOne)
{
    bool destroyed = false;
    ComPtr<CCounted> object = CCounted::Create(41, &destroyed);
    ASSERT_TRUE(object);
    EXPECT_EQ(42, object->Count());

    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IStream, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, object->QueryInterface(__uuidof(ITestCounter), nullptr));
    // Neither Create nor the refusals took a reference.
    EXPECT_EQ(2u, object->AddRef());
    EXPECT_EQ(1u, object->Release());

    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_PPV_ARGS(&unknown)));
    object.Reset();
    EXPECT_FALSE(destroyed) << "the answered query holds a reference";
    unknown.Reset();
    EXPECT_TRUE(destroyed);
}

// The shared base is listed first and so also gives the object its identity.
class CSharedBaseCounter
    : public CComObjectBase<CSharedBaseCounter, ITestCounter, ITestBigCounter, ITestGreeter, ITestResetCounter> {
public:
    int STDMETHODCALLTYPE Count() override { return ++m_count; }
    int STDMETHODCALLTYPE Add(int amount) override { return m_count += amount; }
    void STDMETHODCALLTYPE Reset() override { m_count = 0; }
    int STDMETHODCALLTYPE Greet() override { return 7; }

private:
    int m_count = 0;
};

TEST(ComObject, AListedBaseInterfaceIsAnsweredThroughTheFirstInterfaceDerivedFromIt)
{
    ComPtr<CSharedBaseCounter> object = CSharedBaseCounter::Create();
    ComPtr<ITestGreeter> greeter;
    ComPtr<ITestCounter> counter;
    ComPtr<ITestBigCounter> big;
    ComPtr<ITestResetCounter> resettable;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_PPV_ARGS(&greeter)));
    ASSERT_EQ(S_OK, greeter->QueryInterface(IID_PPV_ARGS(&counter)));
    ASSERT_EQ(S_OK, counter->QueryInterface(IID_PPV_ARGS(&big)));
    ASSERT_EQ(S_OK, counter->QueryInterface(IID_PPV_ARGS(&resettable)));
    EXPECT_EQ(7, greeter->Greet());
    EXPECT_EQ(static_cast<ITestCounter*>(big.Get()), counter.Get());

    // One object behind every interface: counting on one shows on the others.
    EXPECT_EQ(1, counter->Count());
    EXPECT_EQ(4, big->Add(3));
    resettable->Reset();
    EXPECT_EQ(1, static_cast<ITestCounter*>(resettable.Get())->Count());

    // COM identity: IUnknown is the same pointer whichever interface is asked.
    ComPtr<IUnknown> fromGreeter, fromResettable;
    ASSERT_EQ(S_OK, greeter->QueryInterface(IID_PPV_ARGS(&fromGreeter)));
    ASSERT_EQ(S_OK, resettable->QueryInterface(IID_PPV_ARGS(&fromResettable)));
    EXPECT_EQ(fromGreeter.Get(), fromResettable.Get());
}

} // namespace
