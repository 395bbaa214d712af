#include <gtest/gtest.h>

#include "common/TestLog.h"
#include "TranslationTestIds.h"
#include "foundation/MessageBox.h"
#include "foundation/Translations.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

// Other test programs show boxes at the same time: only ours counts.
BOOL CALLBACK FindOwnBox(HWND window, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (process != GetCurrentProcessId() || lstrcmpW(name, L"#32770") != 0 ||
        lstrcmpW(caption, L"Tessary") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// The message is the only static of the box that carries text.
BOOL CALLBACK CollectMessage(HWND child, LPARAM param)
{
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    if (lstrcmpiW(name, L"Static") == 0 && text[0])
        *reinterpret_cast<std::wstring*>(param) = text;
    return TRUE;
}

// Shows boxes for one test, with a helper thread that reads the box the
// test opens and answers it.
class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        QelGetTranslations().LoadFromText(L"");
        QelEnableMessageBoxes(TRUE);
        // Without an owner of its own a box takes the foreground window,
        // which may belong to another test program and vanish meanwhile.
        owner_ = CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override
    {
        QelEnableMessageBoxes(FALSE);
        if (watcher_.joinable())
            watcher_.join();
        DestroyWindow(owner_);
    }

    void AnswerNextBox(int answer)
    {
        if (watcher_.joinable())
            watcher_.join();
        seen_ = false;
        shownText_.clear();
        watcher_ = std::thread([this, answer] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            HWND box = nullptr;
            while (!box && std::chrono::steady_clock::now() < deadline) {
                EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
                if (!box)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            if (!box)
                return;
            seen_ = true;
            EnumChildWindows(box, CollectMessage, reinterpret_cast<LPARAM>(&shownText_));
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        });
    }

    HWND owner_ = nullptr;
    std::thread watcher_;
    std::atomic<bool> seen_{false};
    std::wstring shownText_;
};

} // namespace

TEST_F(MessageBoxes, EmptyTextShowsNothing)
{
    EXPECT_EQ(IDYES, QelMessageBox(L"", MB_YESNO, nullptr));
    EXPECT_EQ(IDCANCEL, QelMessageBox(L"", MB_OK, nullptr));
    EXPECT_EQ(IDCANCEL, QelErrorBox(L"", 0, nullptr));
}

TEST_F(MessageBoxes, ShowsTheTextAndReturnsTheAnswer)
{
    AnswerNextBox(IDNO);
    EXPECT_EQ(IDNO, QelMessageBoxId2(IDS_TEST_TEMPLATE, L"a.txt", L"C:\\x", MB_YESNO | MB_ICONQUESTION,
                                     owner_));
    watcher_.join();
    EXPECT_TRUE(seen_);
    EXPECT_EQ(L"Failed to open a.txt in C:\\x", shownText_);
}

TEST_F(MessageBoxes, ErrorBoxAppendsTheCode)
{
    AnswerNextBox(IDOK);
    EXPECT_EQ(IDOK, QelErrorBox(L"Failed.", 0, owner_));
    watcher_.join();
    EXPECT_EQ(L"Failed.", shownText_);

    AnswerNextBox(IDOK);
    EXPECT_EQ(IDOK, QelErrorBox(L"Failed.", 5, owner_));
    watcher_.join();
    EXPECT_EQ(L"Failed.\n\nError Code: 0x5", shownText_);
}

TEST(MessageBoxText, ErrorCodeLineIsHexAndTranslated)
{
    QelGetTranslations().LoadFromText(L"");
    std::wstring text = L"x";
    QelAppendErrorCode(text, 0);
    EXPECT_EQ(L"x", text);
    QelAppendErrorCode(text, 0x80004005);
    EXPECT_EQ(L"x\n\nError Code: 0x80004005", text);
    text.clear();
    QelAppendErrorCode(text, 255);
    EXPECT_EQ(L"\n\nError Code: 0xff", text);

    QelGetTranslations().LoadFromText(L"\\n\\nError Code: %1=\\n\\n\u9519\u8bef\u4ee3\u7801: %1");
    text = L"y";
    QelAppendErrorCode(text, 5);
    EXPECT_EQ(L"y\n\n\u9519\u8bef\u4ee3\u7801: 0x5", text);
    QelGetTranslations().LoadFromText(L"");
}

TEST(MessageBoxText, SwitchedOffBoxesAnswerWithTheirDefaultButton)
{
    ASSERT_FALSE(QelAreMessageBoxesEnabled());
    const CLogCapture log;
    EXPECT_EQ(IDOK, QelMessageBox(L"Settings file is malformed.", MB_OK, nullptr));
    EXPECT_EQ(IDYES, QelMessageBox(L"Go on?", MB_YESNO, nullptr));
    EXPECT_EQ(IDNO, QelMessageBox(L"Go on?", MB_YESNO | MB_DEFBUTTON2, nullptr));
    EXPECT_EQ(IDCANCEL, QelMessageBox(L"Go on?", MB_YESNOCANCEL | MB_DEFBUTTON3, nullptr));
    EXPECT_EQ(IDRETRY, QelMessageBox(L"Again?", MB_RETRYCANCEL, nullptr));
    EXPECT_EQ(IDOK, QelMessageBox(L"Go on?", MB_OKCANCEL | MB_DEFBUTTON4, nullptr));
    EXPECT_EQ(IDOK, QelErrorBox(L"Failed.", 5, nullptr));

    // What nobody saw is in the log.
    const std::wstring text = log.NewText();
    EXPECT_NE(std::wstring::npos, text.find(L": Message box not shown: Settings file is malformed.\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L": Message box not shown: Failed.  Error Code: 0x5\r\n"));
}

TEST(MessageBoxText, SystemErrorTexts)
{
    const std::wstring notFound = QelGetErrorMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(notFound.empty());
    EXPECT_NE(notFound, QelGetErrorMessage(ERROR_ACCESS_DENIED));
    EXPECT_EQ(L"", QelGetErrorMessage(0xDEADBEEF));  // no such message
    SetLastError(0);
    EXPECT_EQ(L"", QelGetLastErrorText());
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(QelGetErrorMessage(ERROR_ACCESS_DENIED), QelGetLastErrorText());

    Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(S_OK, CreateErrorInfo(&create));
    wchar_t description[] = L"Bad thing";
    wchar_t source[] = L"Src";
    create->SetDescription(description);
    create->SetSource(source);
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, create.As(&info));
    std::wstring out;
    EXPECT_EQ(S_OK, QelFormatComErrorInfo(E_FAIL, info.Get(), out));
    EXPECT_EQ(L"ErrorInfo:  HResult: 0x80004005,\nDescription: Bad thing\nSource:Src\n", out);
}
