#include <gtest/gtest.h>

#include <thread>

#include "framework/ComInitialize.h"

namespace {

// What a bare CoInitializeEx says on this thread, balanced again at once.
HRESULT Probe(DWORD model)
{
    const HRESULT result = ::CoInitializeEx(nullptr, model);
    if (SUCCEEDED(result))
        ::CoUninitialize();
    return result;
}

}  // namespace

TEST(ComInitialize, BalancesEveryInitialisationItMade)
{
    // A fresh thread, so no other test's COM state counts.
    std::thread([] {
        {
            CComInitialize outer;
            EXPECT_EQ(S_FALSE, Probe(COINIT_APARTMENTTHREADED)) << "COM is on";
            {
                CComInitialize inner;
            }
            // The inner scope gave back only its own reference.
            EXPECT_EQ(S_FALSE, Probe(COINIT_APARTMENTTHREADED));
            {
                CComInitialize other(COINIT_MULTITHREADED);
                EXPECT_EQ(RPC_E_CHANGED_MODE, Probe(COINIT_MULTITHREADED)) << "the outer scope's model stays";
            }
            // A refused scope must not take the outer one's reference away.
            EXPECT_EQ(S_FALSE, Probe(COINIT_APARTMENTTHREADED));
        }
        // Everything given back: the thread may choose a model afresh.
        EXPECT_EQ(S_OK, Probe(COINIT_MULTITHREADED));
    }).join();
}
