// Whether the internet can be reached at all, asked before a subscription request so
// that the request fails at once instead of waiting on the internet layer.
#pragma once

// False when the system reports no internet connection; true without any traffic when
// it reaches the internet through a proxy; otherwise true only when a TCP connection to
// the probe host's port 80 can be opened (it is closed again without sending anything)
// within 5 seconds: a host that drops the attempt without an answer does not hold the
// caller for the system's whole connect time-out. It blocks the calling thread meanwhile:
// the subscription runs it on a worker thread. Safe on any thread.
bool IsInternetReachable();

// The same probe aimed at `probeHost`, a dotted IPv4 address or a host name.
bool IsInternetReachable(const char* probeHost);
