#pragma once
// A copy of the program on the services stand-in's account, the stand-in as its proxy:
// the frame, its tree and its sync dialog found, Update sent, and the requests that
// reached the services read back.
#include "SyncToolSupport.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "common/TestLog.h"
#include "resources/ResourceIds.h"

inline constexpr wchar_t kUser[] = L"reader@example.com";
inline constexpr char kStripHost[] = "ads.tessary.test";

class ProgramSync : public ::testing::Test {
protected:
    // The stand-in on the scenario, and the program on its account with this password.
    void Open(const CScenario& scenario, const wchar_t* storedPassword = L"reader")
    {
        ASSERT_TRUE(standIn.Start(scenario.Json())) << standIn.Error();
        ASSERT_TRUE(run.AddAccount(kUser, storedPassword));
        ASSERT_TRUE(run.Start());
        frame = run.WaitForWindow(L"ATL:", L"Tessary");
        ASSERT_TRUE(frame);
        tree = CProgramRun::FindDescendant(frame, L"Qel_TreeCtrl");
        dialog = run.FindWindow(L"#32770", L"Update");
        ASSERT_TRUE(tree && dialog);
    }

    void Update() const { ::PostMessageW(frame, WM_COMMAND, ID_UPDATE, 0); }
    // The end of a successful run: the frame shows the books beside "Quick Views".
    bool WaitForBooks() const
    {
        return run.WaitUntil([&] { return ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 1; },
                             CProgramRun::kSyncPatience);
    }
    // The requests to the services and the web API in order, the strip's aside.
    std::vector<CStandInRequest> ServiceRequests() const
    {
        std::vector<CStandInRequest> requests = standIn.Requests();
        requests.erase(std::remove_if(requests.begin(), requests.end(),
                                      [](const CStandInRequest& request) { return request.host == kStripHost; }),
                       requests.end());
        return requests;
    }
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        for (const CStandInRequest& request : ServiceRequests())
            calls.push_back(request.xmlrpcMethod.empty() ? request.method + " " + request.path : request.xmlrpcMethod);
        return calls;
    }
    size_t CountOf(const std::string& call) const
    {
        const std::vector<std::string> calls = Calls();
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
    // Closes the frame and waits for the program's end, so that its database may be opened.
    void CloseProgram() const
    {
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(1u, run.WaitForExit());
    }
    std::wstring Account() const { return run.DataFolder() + kUser + L"\\"; }

    CServicesStandIn standIn;
    CProgramRun run;
    // Everything the program logs, from its start.
    CLogCapture log{run.LogFile()};
    HWND frame = nullptr;
    HWND tree = nullptr;
    HWND dialog = nullptr;
};

