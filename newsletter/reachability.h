// Whether the internet can be reached at all, asked before a subscription request so
// that the request fails at once instead of waiting on the internet layer.
#pragma once

// False when the system reports no internet connection; true without any traffic when
// it reaches the internet through a proxy; otherwise true only when a TCP connection to
// the probe host's port 80 can be opened (it is closed again without sending anything).
// Runs on the user-interface thread: while the connection is pending, the thread's
// windows are repainted but take no input.
bool IsInternetReachable();

// The same probe aimed at `probeHost`, a dotted IPv4 address or a host name.
bool IsInternetReachable(const char* probeHost);
