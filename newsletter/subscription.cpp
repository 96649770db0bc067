#include "newsletter/subscription.h"

#include <windows.h>
#include <wininet.h>

#include <stdlib.h>

#include <new>

#include "framework/string_table.h"
#include "framework/busy.h"
#include "framework/system_dll.h"
#include "framework/wait_cursor.h"
#include "newsletter/internet_error.h"
#include "newsletter/reachability.h"
#include "newsletter/reply_scan.h"
#include "newsletter/url_encoding.h"
#include "resources/resource.h"

namespace {

const DWORD_PTR kContext = 1;
// The whole exchange, probe included, however the network and the server behave: a user
// who has just finished an install is not kept waiting longer than this.
const DWORD kExchangeMs = 15000;
// A subscription must reach the server every time: an answer kept from an earlier
// request would acknowledge a subscription that was never received. A redirect is not
// followed: only the subscription host's own reply can acknowledge what it received, and
// a redirect to itself can then never loop.
const DWORD kUrlFlags =
    INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;

struct InternetLayer {
    decltype(&::InternetOpenA) open;
    decltype(&::InternetSetOptionA) setOption;
    decltype(&::InternetOpenUrlA) openUrl;
    decltype(&::InternetReadFile) read;
    decltype(&::InternetCloseHandle) close;
};

bool Load(InternetLayer& net) {
    return sysdll::Bind(net.open, kInternetDll, "InternetOpenA") &&
           sysdll::Bind(net.setOption, kInternetDll, "InternetSetOptionA") &&
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

// One subscription exchange, shared by the user-interface thread, which waits for it
// with a deadline, and the worker thread that probes and talks to the server. When the
// deadline passes the user-interface thread abandons it: it closes the internet session
// (which ends the worker's pending calls and their handles) and goes on. Exactly one of
// the two closes the session: which one is settled by one exchange of m_session, which
// holds nothing, the session, or one of the two marks below. The last of the two threads
// to let go of the exchange frees it.
class CExchange {
public:
    static CExchange* Create(const InternetLayer& net, const CText& url) {
        void* memory = malloc(sizeof(CExchange));
        return memory ? new (memory) CExchange(net, url) : nullptr;
    }
    void Release() {
        if (InterlockedDecrement(&m_refs) != 0) return;
        this->~CExchange();
        free(this);
    }

    static DWORD WINAPI Run(void* self) {
        auto* exchange = static_cast<CExchange*>(self);
        exchange->Talk();
        exchange->Release();
        return 0;
    }

    void Abandon() {
        void* session = InterlockedExchangePointer(&m_session, Abandoned());
        if (session && session != Closing()) m_net.close(session);
    }

    // What the exchange found; read once the worker has ended.
    bool m_sessionRefused = false;
    DWORD m_sessionError = 0;
    bool m_acknowledged = false;

private:
    CExchange(const InternetLayer& net, const CText& url) : m_net(net), m_url(url) {}

    // Two addresses no handle can have, the marks m_session takes: the user-interface
    // thread abandoned the exchange; the worker is closing the handles itself.
    void* Abandoned() { return &m_refs; }
    void* Closing() { return &m_net; }

    void Talk() {
        if (!IsInternetReachable()) return;
        HINTERNET session = m_net.open("Register", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (!session) {
            m_sessionError = GetLastError();
            m_sessionRefused = true;
            return;
        }
        if (InterlockedCompareExchangePointer(&m_session, session, nullptr) != nullptr) {
            m_net.close(session);  // opened after the user-interface thread gave up
            return;
        }
        // The layer's own time-outs end the worker's calls too, not only the deadline.
        static const DWORD kTimeouts[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                           INTERNET_OPTION_RECEIVE_TIMEOUT};
        for (DWORD option : kTimeouts) {
            DWORD ms = kExchangeMs;
            m_net.setOption(session, option, &ms, sizeof ms);
        }
        HINTERNET reply = m_net.openUrl(session, m_url, nullptr, 0, kUrlFlags, kContext);
        CReplyScan scan;
        if (reply) Read(reply, scan);
        m_acknowledged = scan.Acknowledged();
        if (InterlockedCompareExchangePointer(&m_session, Closing(), session) != session)
            return;  // the user-interface thread closed the session, and the reply with it
        if (reply) m_net.close(reply);
        m_net.close(session);
    }

    // Reads the body until it ends or fails, or until the scan has its answer.
    void Read(HINTERNET reply, CReplyScan& scan) {
        char piece[1024];
        DWORD got = 0;
        while (m_net.read(reply, piece, sizeof piece - 1, &got) && got > 0 && scan.Add(piece, got) &&
               InterlockedCompareExchangePointer(&m_session, nullptr, nullptr) != Abandoned()) {
        }
    }

    InternetLayer m_net;
    CText m_url;
    LONG m_refs = 2;  // the user-interface thread and the worker
    void* volatile m_session = nullptr;
};

}  // namespace

CFailure SendSubscription(CText email, bool* acknowledged) {
    *acknowledged = false;
    InternetLayer net;
    if (!Load(net)) return CFailure();  // no internet layer: nothing can be reached
    const CText url = SubscriptionUrl(email);
    if (url.Failed()) return CFailure();
    CExchange* exchange = CExchange::Create(net, url);
    if (!exchange) return CFailure();
    CWaitCursor wait;
    HANDLE worker = CreateThread(nullptr, 0, CExchange::Run, exchange, 0, nullptr);
    if (!worker) {
        exchange->Release();  // the worker's share
        exchange->Release();
        return CFailure();
    }
    CFailure failure;
    if (WaitServingWindows(worker, kExchangeMs)) {
        if (exchange->m_sessionRefused) failure = RaiseInternetError(exchange->m_sessionError);
        *acknowledged = exchange->m_acknowledged;
    } else {
        exchange->Abandon();  // as if the server could not be reached
    }
    CloseHandle(worker);
    exchange->Release();
    return failure;
}
