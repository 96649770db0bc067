// The reachability probe and the subscription request against a real HTTP server on
// 127.0.0.1:80 (tests/e2e/subscription_server.py, which ctest runs around this program).
// The server answers with the reply this program writes into its folder and logs every
// request and every ended connection; Wine reaches it through its real Winsock and WinINet.
//
// Where Wine cannot be made to take a branch for real (it never reports a proxy in the
// connection state, and its InternetOpenA fails only when memory runs out), the test
// replaces the entry of the one platform function concerned for the length of a test.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "framework/string_table.h"
#include "framework/program_name.h"
#include "framework/system_dll.h"
#include "counting_window.h"
#include "entry_patch.h"
#include "subscription_server_files.h"
#include "live_dialog.h"
#include "newsletter/internet_error.h"
#include "newsletter/newsletter_dlg.h"
#include "newsletter/reachability.h"
#include "newsletter/subscription.h"
#include "newsletter/url_encoding.h"
#include "resources/resource.h"

namespace {

std::string UtcToday() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char date[16];
    wsprintfA(date, "%02u/%02u/%04u", now.wDay, now.wMonth, now.wYear);
    return date;
}

std::string ExpectedLanguage() {
    const char* lang = getenv("SONDREL_EXPECT_LANG");
    return lang ? lang : "us";
}

int g_stateCalls = 0;
int g_sessionCalls = 0;

BOOL WINAPI ConnectedThroughProxy(LPDWORD flags, DWORD) {
    ++g_stateCalls;
    *flags = INTERNET_CONNECTION_LAN | INTERNET_CONNECTION_PROXY | INTERNET_CONNECTION_CONFIGURED;
    return TRUE;
}

BOOL WINAPI NotConnected(LPDWORD flags, DWORD) {
    ++g_stateCalls;
    *flags = INTERNET_CONNECTION_OFFLINE;
    return FALSE;
}

HINTERNET WINAPI SessionRefused(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) {
    ++g_sessionCalls;
    SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return nullptr;
}

// The program's proxy settings (the user's Internet Settings) for the length of a test.
class ProxySetting {
public:
    explicit ProxySetting(const char* server) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        DWORD on = 1;
        RegSetValueExA(m_key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
        RegSetValueExA(m_key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server), DWORD(strlen(server) + 1));
    }
    ~ProxySetting() {
        RegDeleteValueA(m_key, "ProxyEnable");
        RegDeleteValueA(m_key, "ProxyServer");
        RegCloseKey(m_key);
    }

private:
    static constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    HKEY m_key = nullptr;
};

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("SONDREL_SUBSCRIPTION_SERVER"), nullptr) << "run through subscription_server.py";
        Reply(200, "OK");
        ClearLog();
        g_stateCalls = g_sessionCalls = 0;
    }
};

// --- Percent-encoding and error texts ----------------------------------------------------

TEST(PercentEncoding, AnOrdinaryAddressStaysAsItIs) {
    EXPECT_STREQ(PercentEncoded("John.Doe-42_x~y@mail.example.com"), "John.Doe-42_x~y@mail.example.com");
}

TEST(PercentEncoding, EveryOtherByteIsEscaped) {
    EXPECT_STREQ(PercentEncoded("a&b+c%d#e/f g=h?i"), "a%26b%2Bc%25d%23e%2Ff%20g%3Dh%3Fi");
    EXPECT_STREQ(PercentEncoded("\t\x01\x7F\x80\xE9\xFF"), "%09%01%7F%80%E9%FF");
    EXPECT_STREQ(PercentEncoded(""), "");
}

TEST(InternetErrorText, TheInternetLayersOwnTextWithoutTheLineBreak) {
    const std::string text = InternetErrorText(ERROR_INTERNET_CANNOT_CONNECT).c_str();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, "Internal application error.");
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
}

TEST(InternetErrorText, ASystemErrorHasTheSystemsText) {
    const std::string text = InternetErrorText(ERROR_OUTOFMEMORY).c_str();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, "Internal application error.");
}

TEST(InternetErrorText, AnErrorWithoutTextIsAnInternalApplicationError) {
    EXPECT_STREQ(InternetErrorText(12345), "Internal application error.");
    EXPECT_STREQ(InternetErrorText(0), "Internal application error.");
    EXPECT_STREQ(RaiseInternetError(12345).Message(), "Internal application error.");
    EXPECT_TRUE(RaiseInternetError(12345).IsRaised());
}

// --- The probe ----------------------------------------------------------------------------

using Probe = NetworkTest;

TEST_F(Probe, ServerUpGivesTrueAndTheServerSeesAConnectionWithoutData) {
    EXPECT_TRUE(IsInternetReachable());
    EXPECT_EQ(WaitForProbes(1), std::vector<int>{0});
    EXPECT_TRUE(Requests().empty());
}

TEST_F(Probe, AHostNameIsLookedUp) {
    EXPECT_TRUE(IsInternetReachable("localhost"));
    EXPECT_EQ(WaitForProbes(1), std::vector<int>{0});
}

TEST_F(Probe, NoListenerOnPort80GivesFalseAtOnce) {
    DWORD start = GetTickCount();
    EXPECT_FALSE(IsInternetReachable("127.0.0.2"));  // the server listens on 127.0.0.1 only
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_TRUE(NoProbeSeen());
}

TEST_F(Probe, AHostThatDoesNotResolveGivesFalseWithoutAConnection) {
    DWORD start = GetTickCount();
    EXPECT_FALSE(IsInternetReachable("no-such-host.invalid"));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(NoProbeSeen());
}

TEST_F(Probe, AProxyCountsAsReachableWithoutAnyTraffic) {
    EntryPatch state("wininet.dll", "InternetGetConnectedState", EntryOf(ConnectedThroughProxy));
    ASSERT_TRUE(state.Active());
    EXPECT_TRUE(IsInternetReachable());
    EXPECT_TRUE(IsInternetReachable("127.0.0.2")) << "the proxy's own reach is not tested";
    EXPECT_EQ(g_stateCalls, 2);
    EXPECT_TRUE(NoProbeSeen());
}

TEST_F(Probe, NoConnectionGivesFalseWithoutAnyTraffic) {
    EntryPatch state("wininet.dll", "InternetGetConnectedState", EntryOf(NotConnected));
    ASSERT_TRUE(state.Active());
    EXPECT_FALSE(IsInternetReachable());
    EXPECT_EQ(g_stateCalls, 1);
    EXPECT_TRUE(NoProbeSeen());
}

// Run alone in its process (ctest gives it its own run): it must see the socket library
// before anything in the process has started it.
TEST_F(Probe, TheSocketLibraryStartsOnceAndNoSocketIsLeftOpen) {
    ASSERT_EQ(WSACleanup(), SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSANOTINITIALISED) << "something started the socket library before the probe";

    ASSERT_TRUE(IsInternetReachable());  // starts the library
    // The lowest free socket handle now: Wine hands it out again while nothing holds it.
    SOCKET reference = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(reference, INVALID_SOCKET);
    closesocket(reference);

    int reached = 1;
    for (int round = 0; round < 3; ++round) {
        reached += IsInternetReachable() ? 1 : 0;
        EXPECT_FALSE(IsInternetReachable("127.0.0.2"));
        EXPECT_FALSE(IsInternetReachable("no-such-host.invalid"));
    }
    EXPECT_EQ(reached, 4);
    // Every successful probe closed its connection: the server saw each one end, empty.
    EXPECT_EQ(WaitForProbes(4), std::vector<int>(4, 0));

    SOCKET after = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(after, reference) << "a probe left a socket open";
    closesocket(after);

    EXPECT_EQ(WSACleanup(), 0) << "the library was started once";
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR) << "the library was started more than once";
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);  // back as the probe left it
}

const UINT kInput = WM_APP + 5;  // stands for input: a message the wait must leave queued

sockaddr_in Port80Of(const char* address) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(80);
    a.sin_addr.s_addr = inet_addr(address);
    return a;
}

// A listener on 127.0.0.3:80 whose queue is full: the system leaves further attempts to
// connect to it unanswered, as a host that drops them would, until there is room again.
class FullListener {
public:
    FullListener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);  // the test's own sockets
        sockaddr_in target = Port80Of(kAddress);
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        m_ready = bind(m_listener, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0 &&
                  listen(m_listener, 0) == 0;
        m_filler = socket(AF_INET, SOCK_STREAM, 0);
        m_ready = m_ready && connect(m_filler, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0;
    }
    ~FullListener() {
        closesocket(m_filler);
        closesocket(m_listener);
        WSACleanup();
    }
    bool Ready() const { return m_ready; }
    // Makes room for one more connection.
    void AcceptOne() { closesocket(accept(m_listener, nullptr, nullptr)); }

    static constexpr const char* kAddress = "127.0.0.3";

private:
    SOCKET m_listener;
    SOCKET m_filler;
    bool m_ready;
};

// The probe runs on the exchange's worker thread: while it waits, nothing of the thread's
// other windows is handled, and nothing is lost.
TEST_F(Probe, WhileTheConnectionIsPendingNothingElseOfTheThreadIsHandled) {
    FullListener full;
    ASSERT_TRUE(full.Ready());

    CountingWindow window(kInput);

    int paintsWhileWaiting = -1, inputWhileWaiting = -1;
    std::thread helper([&] {
        Sleep(300);
        InvalidateRect(window.hwnd(), nullptr, TRUE);
        PostMessageA(window.hwnd(), kInput, 0, 0);
        Sleep(300);
        paintsWhileWaiting = window.paints();
        inputWhileWaiting = window.counted();
        full.AcceptOne();  // room for the probe now
    });
    DWORD start = GetTickCount();
    bool reachable = IsInternetReachable(FullListener::kAddress);
    DWORD waited = GetTickCount() - start;
    helper.join();

    EXPECT_TRUE(reachable);
    EXPECT_GE(waited, 600u) << "the probe waited for the connection";
    EXPECT_EQ(paintsWhileWaiting, 0) << "nothing was handled during the wait";
    EXPECT_EQ(inputWhileWaiting, 0) << "nothing was handled during the wait";
    Drain();
    EXPECT_EQ(window.counted(), 1) << "the input waited for the probe";
}

// The system would try again for minutes; the probe gives the host a few seconds.
TEST_F(Probe, AHostThatNeverAnswersTheAttemptGivesFalseLongBeforeTheSystemWouldGiveUp) {
    FullListener full;
    ASSERT_TRUE(full.Ready());
    DWORD start = GetTickCount();
    EXPECT_FALSE(IsInternetReachable(FullListener::kAddress));
    EXPECT_LT(GetTickCount() - start, 20000u);
}

// Runs only in a world without any network route (ctest's win32.newsletter.offline), where
// Wine itself reports that there is no internet connection.
TEST_F(Probe, NoConnectionAtAllGivesFalseBeforeAnySocketIsMade) {
    if (!getenv("SONDREL_EXPECT_OFFLINE")) GTEST_SKIP() << "needs a world without a network route";
    auto connectedState =
        sysdll::Function<decltype(&::InternetGetConnectedState)>("wininet.dll", "InternetGetConnectedState");
    DWORD flags = 0;
    ASSERT_FALSE(connectedState(&flags, 0)) << "flags " << flags;

    EXPECT_FALSE(IsInternetReachable());
    Outcome out = Send("john.doe@example.com");
    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged);
    EXPECT_TRUE(NoProbeSeen());
    EXPECT_TRUE(Requests().empty());
    // Not even the socket library was started, so no socket can have been made.
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

// --- The request --------------------------------------------------------------------------

using Subscription = NetworkTest;

TEST_F(Subscription, SendsOneGetWithTheQueryAndTheRegisterAgent) {
    const std::string before = UtcToday();
    Outcome out = Send("john.doe@example.com");
    const std::string after = UtcToday();
    EXPECT_FALSE(out.raised);
    EXPECT_TRUE(out.acknowledged);
    std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string head = "GET /cgi-local/register.cgi?email=john.doe@example.com&lang=" + ExpectedLanguage() +
                             "&regid=4.3.0a&date=";
    EXPECT_TRUE(requests[0].line == head + before + " HTTP/1.1" || requests[0].line == head + after + " HTTP/1.1")
        << requests[0].line;
    EXPECT_EQ(requests[0].agent, "Register");
    EXPECT_EQ(WaitForProbes(1), std::vector<int>{0}) << "the probe came first, on a connection of its own";
}

TEST_F(Subscription, TheLanguageOfTheRunIsSent) {
    Send("a@b.c");
    std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].params.size(), 4u);
    EXPECT_EQ(requests[0].params[1], (std::pair<std::string, std::string>{"lang", ExpectedLanguage()}));
    EXPECT_EQ(requests[0].params[2], (std::pair<std::string, std::string>{"regid", "4.3.0a"}));
}

struct BodyCase {
    const char* name;
    int status;
    std::string body;
    bool acknowledged;
};

class SubscriptionReply : public NetworkTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(SubscriptionReply, OnlyTwoCapitalLettersOkInTheBodyAcknowledge) {
    Reply(GetParam().status, GetParam().body);
    Outcome out = Send("john.doe@example.com");
    EXPECT_FALSE(out.raised);
    EXPECT_EQ(out.acknowledged, GetParam().acknowledged);
    EXPECT_EQ(Requests().size(), 1u);
}

const std::string kPad1022(1022, 'x');

INSTANTIATE_TEST_SUITE_P(
    Bodies, SubscriptionReply,
    ::testing::Values(BodyCase{"ExactlyOk", 200, "OK", true}, BodyCase{"NotOk", 200, "NOT OK", true},
                      BodyCase{"Token", 200, "<p>Your TOKEN is 5</p>", true},
                      BodyCase{"LowerCase", 200, "ok", false}, BodyCase{"MixedCase", 200, "Ok", false},
                      BodyCase{"Empty", 200, "", false},
                      // 'O' is the 1023rd byte, the last of the first read; 'K' starts the second.
                      BodyCase{"SplitAcrossTheReadBoundary", 200, kPad1022 + "OK" + std::string(600, 'y'), true},
                      BodyCase{"AfterAZeroByteOfTheSamePiece", 200, std::string("abc\0OK", 6), false},
                      BodyCase{"InThePieceAfterAZeroByte", 200, std::string("abc\0", 4) + std::string(1019, 'x') + "OK",
                               true},
                      BodyCase{"NotFoundPageHoldingOk", 404, "<html><body>Not found. OK?</body></html>", true},
                      BodyCase{"OkAfterALongBody", 200, std::string(60000, 'x') + "OK", true},
                      // Only the first 64 KB are read: the 'K' would be byte 65537.
                      BodyCase{"OkAcrossTheEndOfWhatIsRead", 200, std::string(65535, 'x') + "OK", false},
                      BodyCase{"ServerError", 500, "<html><body>Internal error</body></html>", false}),
    [](const ::testing::TestParamInfo<BodyCase>& info) { return info.param.name; });

TEST_F(Subscription, ReservedCharactersArriveAsOneEmailParameter) {
    const char* address = "a&b+c%d#e/f@example.com";
    Outcome out = Send(address);
    EXPECT_TRUE(out.acknowledged);
    std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].query.rfind("email=a%26b%2Bc%25d%23e%2Ff@example.com&lang=", 0), 0u) << requests[0].query;
    ASSERT_EQ(requests[0].params.size(), 4u) << requests[0].query;
    EXPECT_EQ(requests[0].params[0], (std::pair<std::string, std::string>{"email", address}));
    EXPECT_EQ(requests[0].params[3].first, "date");
}

TEST_F(Subscription, AReplyCutShortAfterOkStillAcknowledges) {
    Reply(200, "OK" + std::string(3000, 'x'), "truncate");
    EXPECT_TRUE(Send("a@b.c").acknowledged);
}

TEST_F(Subscription, AConnectionClosedWithoutAReplyGivesFalse) {
    Reply(200, "", "drop");
    Outcome out = Send("a@b.c");
    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged);
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(Subscription, EveryRequestReachesTheServer) {
    EXPECT_TRUE(Send("same@example.com").acknowledged);
    Reply(200, "refused");
    EXPECT_FALSE(Send("same@example.com").acknowledged) << "an earlier answer must not be reused";
    EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(Subscription, NothingIsSentWhenTheInternetIsUnreachable) {
    EntryPatch state("wininet.dll", "InternetGetConnectedState", EntryOf(NotConnected));
    ASSERT_TRUE(state.Active());
    Outcome out = Send("john.doe@example.com");
    EXPECT_FALSE(out.raised);
    EXPECT_FALSE(out.acknowledged);
    EXPECT_TRUE(NoProbeSeen());
}

TEST_F(Subscription, AConfiguredProxyCarriesTheRequestWithoutAProbe) {
    EntryPatch state("wininet.dll", "InternetGetConnectedState", EntryOf(ConnectedThroughProxy));
    ASSERT_TRUE(state.Active());
    ProxySetting proxy("127.0.0.1:80");  // the test server plays the proxy
    Outcome out = Send("john.doe@example.com");
    EXPECT_TRUE(out.acknowledged);
    std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    // A request to a proxy names the whole URL (Wine adds the default port to it).
    EXPECT_EQ(requests[0].line.rfind("GET http://127.0.0.1", 0), 0u) << requests[0].line;
    EXPECT_NE(requests[0].line.find("/cgi-local/register.cgi?email=john.doe@example.com&lang="), std::string::npos)
        << requests[0].line;
    EXPECT_TRUE(NoProbeSeen()) << "no probe";
}

TEST_F(Subscription, ASessionThatCannotBeOpenedIsRaisedWithTheLayersText) {
    EntryPatch open("wininet.dll", "InternetOpenA", EntryOf(SessionRefused));
    ASSERT_TRUE(open.Active());
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    Outcome out = Send("john.doe@example.com");
    EXPECT_TRUE(out.raised);
    EXPECT_EQ(out.message, InternetErrorText(ERROR_INTERNET_INTERNAL_ERROR).c_str());
    EXPECT_FALSE(out.acknowledged);
    EXPECT_EQ(g_sessionCalls, 1);
    EXPECT_EQ(GetCursor(), arrow) << "the wait cursor is gone on the failure's path too";
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(WaitForProbes(1), std::vector<int>{0}) << "only the probe";
}

// --- The dialog when the session cannot be opened ------------------------------------------

TEST_F(Subscription, TheDialogReportsAFailedSessionWithAStopIconAndStaysOpen) {
    LiveDialog<CNewsletterDlg> dlg;
    MessageBoxWatcher watcher;
    HWND shown = nullptr;
    dlg.body = [&](LiveDialog<CNewsletterDlg>& d) {
        shown = d.m_hWnd;
        ShowWindow(d.m_hWnd, SW_SHOW);  // ending the dialog would hide it
        SetDlgItemTextA(d.m_hWnd, IDC_EMAIL, "john.doe@example.com");
        {
            EntryPatch open("wininet.dll", "InternetOpenA", EntryOf(SessionRefused));
            ASSERT_TRUE(open.Active());
            SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd)) << "the dialog stays open";
        char text[256] = {};
        GetDlgItemTextA(d.m_hWnd, IDC_EMAIL, text, sizeof text);
        EXPECT_STREQ(text, "john.doe@example.com");
        EXPECT_TRUE(Requests().empty());
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].text, InternetErrorText(ERROR_INTERNET_INTERNAL_ERROR).c_str());
    EXPECT_EQ(watcher.seen()[0].icon, "stop");
    EXPECT_EQ(watcher.seen()[0].caption, ProgramName().c_str());
    EXPECT_EQ(watcher.seen()[0].owner, shown);
}

}  // namespace
