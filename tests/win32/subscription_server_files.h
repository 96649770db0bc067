// The test programs' side of tests/e2e/subscription_server.py, a real HTTP server on
// 127.0.0.1:80 that ctest runs around them: the reply it gives is written into its
// folder, and what it received is read back from its log.
#pragma once
#include <string>
#include <utility>
#include <vector>

// The server answers every request with this status and body from now on; `mode` is
// one of the server's modes, with its argument ("silent", "trickle 3").
void Reply(int status, const std::string& body, const char* mode = "");
void ClearLog();

struct Request {
    std::string line, agent, query;
    std::vector<std::pair<std::string, std::string>> params;
};
std::vector<Request> Requests();

// (requests, bytes received) of every connection that has ended.
std::vector<std::pair<int, int>> Connections();
// The bytes received on each ended connection that carried no request: the probes'.
// WinINet keeps its own connections open for reuse and closes them when it likes, so
// the connections that carried requests are not counted.
std::vector<int> ProbeConnections();
// The probes' connections once `count` of them have ended, or what there is after a while.
std::vector<int> WaitForProbes(size_t count);
// True when no probe connection has ended, given the server the time to log one.
bool NoProbeSeen();

// What one subscription request gave.
struct Outcome {
    bool raised;
    std::string message;
    bool acknowledged;
};
Outcome Send(const char* email);
