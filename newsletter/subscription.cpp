#include "newsletter/subscription.h"

#include <windows.h>
#include <wininet.h>

#include "app/texts.h"
#include "framework/system_dll.h"
#include "framework/wait_cursor.h"
#include "newsletter/internet_error.h"
#include "newsletter/reachability.h"
#include "newsletter/url_encoding.h"
#include "resources/resource.h"

namespace {

const char kInternetDll[] = "wininet.dll";
const DWORD_PTR kContext = 1;
// A subscription must reach the server every time: an answer kept from an earlier
// request would acknowledge a subscription that was never received.
const DWORD kUrlFlags = INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

struct InternetLayer {
    decltype(&::InternetOpenA) open;
    decltype(&::InternetOpenUrlA) openUrl;
    decltype(&::InternetReadFile) read;
    decltype(&::InternetCloseHandle) close;
};

bool Load(InternetLayer& net) {
    return sysdll::Bind(net.open, kInternetDll, "InternetOpenA") &&
           sysdll::Bind(net.openUrl, kInternetDll, "InternetOpenUrlA") &&
           sysdll::Bind(net.read, kInternetDll, "InternetReadFile") &&
           sysdll::Bind(net.close, kInternetDll, "InternetCloseHandle");
}

// Today's date in Coordinated Universal Time as dd/mm/yyyy.
CText UtcDate() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char date[16];
    wsprintfA(date, "%02u/%02u/%04u", now.wDay, now.wMonth, now.wYear);
    return date;
}

CText SubscriptionUrl(const char* email) {
    return CText("http://" SONDREL_SUBSCRIPTION_HOST "/cgi-local/register.cgi?email=") + PercentEncoded(email) +
           "&lang=" + LoadText(IDS_LANGUAGE_CODE) + "&regid=" + LoadText(IDS_VERSION) + "&date=" + UtcDate();
}

// The reply's body as text, or what was read of it before the internet layer failed.
// Each piece ends at its first zero byte: what follows one in the same piece is dropped.
CText ReadReply(const InternetLayer& net, HINTERNET session, const char* url) {
    CText body;
    HINTERNET reply = net.openUrl(session, url, nullptr, 0, kUrlFlags, kContext);
    if (!reply) return body;
    char piece[1024];
    DWORD got = 0;
    while (net.read(reply, piece, sizeof piece - 1, &got) && got > 0) {
        piece[got] = '\0';
        body += piece;
    }
    net.close(reply);
    return body;
}

// "OK" anywhere in the text, read character by character in the ANSI code page so that
// the second byte of a double-byte character never starts a match.
bool HoldsOk(const char* text) {
    for (const char* p = text; *p; p = CharNextA(p))
        if (p[0] == 'O' && p[1] == 'K') return true;
    return false;
}

}  // namespace

CFailure SendSubscription(CText email, bool* acknowledged) {
    *acknowledged = false;
    if (!IsInternetReachable()) return CFailure();
    CWaitCursor wait;
    InternetLayer net;
    if (!Load(net)) return RaiseInternetError(0);
    const CText url = SubscriptionUrl(email);
    HINTERNET session = net.open("Register", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return RaiseInternetError(GetLastError());
    const CText body = ReadReply(net, session, url);
    net.close(session);
    *acknowledged = HoldsOk(body);
    return CFailure();
}
