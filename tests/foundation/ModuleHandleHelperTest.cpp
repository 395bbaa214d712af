#include "foundation/ModuleHandleHelper.h"

#include <gtest/gtest.h>

using QelGlobals::CQelModuleHandleHelper;

namespace {

// Wine's common controls without a manifest are 5.81; its shell utilities 6.0.
TEST(ModuleHandleHelper, GetProcAddressIfVersionRefusesOlderModules)
{
    CQelModuleHandleHelper comctl32(L"comctl32.dll");
    ASSERT_TRUE(comctl32.GetHandle());
    const DWORD version = comctl32.GetDllVersion();
    ASSERT_EQ(5u, version >> 16) << "the test needs common controls of major version 5";

    FARPROC proc = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl32.GetProcAddressIfVersion(proc, "InitCommonControlsEx", 0x00060000));
    EXPECT_EQ(nullptr, proc);
    proc = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl32.GetProcAddressIfVersion(proc, "InitCommonControlsEx", version + 1)) << "lower minor";
    EXPECT_EQ(nullptr, proc);
    EXPECT_TRUE(comctl32.GetProcAddressIfVersion(proc, "InitCommonControlsEx", version));
    EXPECT_EQ(::GetProcAddress(comctl32.GetHandle(), "InitCommonControlsEx"), proc);
    EXPECT_TRUE(comctl32.GetProcAddressIfVersion(proc, "InitCommonControlsEx", 0x00040047)) << "lower major";
    EXPECT_FALSE(comctl32.GetProcAddressIfVersion(proc, "NoSuchFunction", 0));
    EXPECT_EQ(nullptr, proc);

    CQelModuleHandleHelper shlwapi(L"shlwapi.dll");
    EXPECT_EQ(0x00060000u, shlwapi.GetDllVersion());
    EXPECT_TRUE(shlwapi.GetProcAddressIfVersion(proc, "UrlIsW", 0x00060000));
    EXPECT_NE(nullptr, proc);

    CQelModuleHandleHelper none;
    EXPECT_FALSE(none.GetProcAddressIfVersion(proc, "UrlIsW", 0));
    EXPECT_EQ(0u, none.GetDllVersion());
}

TEST(ModuleHandleHelper, FreesOnlyWhatItLoadedItself)
{
    ASSERT_EQ(nullptr, ::GetModuleHandleW(L"msimg32.dll")) << "the test needs a library nobody loaded yet";

    {
        CQelModuleHandleHelper helper(L"msimg32.dll");
        EXPECT_EQ(CQelModuleHandleHelper::KindLoaded, helper.GetKind());
        EXPECT_EQ(L"msimg32.dll", helper.GetName());
        ASSERT_NE(nullptr, ::GetModuleHandleW(L"msimg32.dll"));
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"msimg32.dll")) << "a loaded library is freed with its helper";

    HMODULE ours = ::LoadLibraryW(L"msimg32.dll");
    ASSERT_NE(nullptr, ours);
    {
        CQelModuleHandleHelper helper(L"msimg32.dll");
        EXPECT_EQ(CQelModuleHandleHelper::KindFromProcess, helper.GetKind());
        EXPECT_EQ(ours, helper.GetHandle());
        // Taking another module lets go of the first without freeing it.
        EXPECT_TRUE(helper.GetModuleHandle(L"kernel32.dll"));
        EXPECT_EQ(::GetModuleHandleW(L"kernel32.dll"), helper.GetHandle());
    }
    EXPECT_EQ(ours, ::GetModuleHandleW(L"msimg32.dll")) << "a module of the process stays loaded";
    ::FreeLibrary(ours);

    CQelModuleHandleHelper missing;
    EXPECT_FALSE(missing.Get(L"no-such-library-here.dll"));
    EXPECT_EQ(CQelModuleHandleHelper::KindNone, missing.GetKind());
    EXPECT_TRUE(missing.Free());
}

} // namespace
