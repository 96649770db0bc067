// The socket declarations must come before windows.h. Only their types are used: the
// socket library is loaded at run time, so the program does not import it.
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include "newsletter/reachability.h"

#include <string.h>

#include "framework/system_dll.h"
#include "newsletter/internet_error.h"

namespace {

const char kSocketDll[] = "ws2_32.dll";
const UINT kSocketEvent = WM_APP + 1;  // carries the probe socket's notifications
// Asking for every event (63) also puts the socket in non-blocking mode.
const long kAllSocketEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
// Long enough for any server that answers at all; a probe host that drops the attempt
// would otherwise hold the user for the system's whole connect time-out.
const DWORD kConnectMs = 5000;
const unsigned short kHttpPortNetworkOrder = (80 >> 8) | ((80 & 0xFF) << 8);  // x86 is little-endian

// The socket library's functions, loaded from the system directory at first use.
struct SocketLibrary {
    decltype(&::WSAStartup) startup;
    decltype(&::WSACleanup) cleanup;
    decltype(&::WSAGetLastError) lastError;
    decltype(&::socket) open;
    decltype(&::WSAAsyncSelect) asyncSelect;
    decltype(&::bind) bind;
    decltype(&::inet_addr) inetAddr;
    decltype(&::gethostbyname) getHostByName;
    decltype(&::connect) connect;
    decltype(&::closesocket) close;
};

bool Load(SocketLibrary& s) {
    return sysdll::Bind(s.startup, kSocketDll, "WSAStartup") &&
           sysdll::Bind(s.cleanup, kSocketDll, "WSACleanup") &&
           sysdll::Bind(s.lastError, kSocketDll, "WSAGetLastError") &&
           sysdll::Bind(s.open, kSocketDll, "socket") &&
           sysdll::Bind(s.asyncSelect, kSocketDll, "WSAAsyncSelect") &&
           sysdll::Bind(s.bind, kSocketDll, "bind") &&
           sysdll::Bind(s.inetAddr, kSocketDll, "inet_addr") &&
           sysdll::Bind(s.getHostByName, kSocketDll, "gethostbyname") &&
           sysdll::Bind(s.connect, kSocketDll, "connect") &&
           sysdll::Bind(s.close, kSocketDll, "closesocket");
}

SocketLibrary g_library;

BOOL CALLBACK StartSockets(INIT_ONCE*, void*, void** loaded) {
    *loaded = nullptr;
    if (!Load(g_library)) return TRUE;
    *loaded = &g_library;
    WSADATA data;
    if (g_library.startup(MAKEWORD(1, 1), &data) == 0 && data.wVersion != MAKEWORD(1, 1))
        g_library.cleanup();  // only version 1.1 will do
    return TRUE;
}

// The library, or nullptr when a function is missing. The first call in the process, on
// whatever thread, also starts it at version 1.1, once: it then stays started until the
// program ends. A start that fails is not tried again; the socket calls then fail on
// their own.
const SocketLibrary* StartedSockets() {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    void* loaded = nullptr;
    if (!InitOnceExecuteOnce(&once, StartSockets, nullptr, &loaded)) return nullptr;
    return static_cast<const SocketLibrary*>(loaded);
}

// An IPv4 stream socket that reports its events to `window`, bound to any local address
// and port; INVALID_SOCKET when any part fails (a socket made on the way is closed).
SOCKET OpenProbeSocket(const SocketLibrary& s, HWND window) {
    SOCKET probe = s.open(AF_INET, SOCK_STREAM, 0);
    if (probe == INVALID_SOCKET) return INVALID_SOCKET;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = INADDR_ANY;
    if (s.asyncSelect(probe, window, kSocketEvent, kAllSocketEvents) != 0 ||
        s.bind(probe, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        s.close(probe);
        return INVALID_SOCKET;
    }
    return probe;
}

// A dotted address is taken as it is; anything else is looked up by name (blocking).
bool Resolve(const SocketLibrary& s, const char* host, in_addr* address) {
    address->s_addr = s.inetAddr(host);
    if (address->s_addr != INADDR_NONE) return true;
    hostent* entry = s.getHostByName(host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0]) return false;
    memcpy(address, entry->h_addr_list[0], 4);
    return true;
}

// Waits for the outcome of a pending connect, at most kConnectMs. The probe runs on the
// exchange's worker thread, whose only window is the probe's own: nothing else needs
// serving meanwhile.
bool WaitForConnect(HWND window) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        // Looked at before the wait: a look at the queue makes everything in it old news
        // for the wait below, so a notification that came in before it is found here.
        while (PeekMessageA(&msg, window, kSocketEvent, kSocketEvent, PM_REMOVE))
            if (WSAGETSELECTEVENT(msg.lParam) == FD_CONNECT) return WSAGETSELECTERROR(msg.lParam) == 0;
        const DWORD waited = GetTickCount() - start;
        if (waited >= kConnectMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kConnectMs - waited, QS_POSTMESSAGE);
    }
}

bool Connect(const SocketLibrary& s, SOCKET probe, HWND window, const char* host) {
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = kHttpPortNetworkOrder;
    if (!Resolve(s, host, &target.sin_addr)) return false;
    if (s.connect(probe, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) return true;
    return s.lastError() == WSAEWOULDBLOCK && WaitForConnect(window);
}

// Opens a TCP connection to port 80 of `host` and closes it at once, sending nothing.
bool CanConnect(const SocketLibrary& s, const char* host) {
    // A message-only window receives the socket's notifications.
    HWND window = CreateWindowExA(0, "Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window) return false;
    bool connected = false;
    SOCKET probe = OpenProbeSocket(s, window);
    if (probe != INVALID_SOCKET) {
        connected = Connect(s, probe, window, host);
        s.close(probe);
    }
    DestroyWindow(window);  // notifications still queued for it go with it
    return connected;
}

}  // namespace

bool IsInternetReachable() { return IsInternetReachable(SONDREL_PROBE_HOST); }

bool IsInternetReachable(const char* probeHost) {
    auto connectedState =
        sysdll::Function<decltype(&::InternetGetConnectedState)>(kInternetDll, "InternetGetConnectedState");
    DWORD flags = 0;
    if (!connectedState || !connectedState(&flags, 0)) return false;
    if (flags & INTERNET_CONNECTION_PROXY) return true;  // the proxy's own reach is not tested
    const SocketLibrary* sockets = StartedSockets();
    return sockets && CanConnect(*sockets, probeHost);
}
