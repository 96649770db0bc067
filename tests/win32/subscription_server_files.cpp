#include "subscription_server_files.h"

#include <windows.h>

#include <cstdlib>

#include "newsletter/subscription.h"
#include "test_files.h"

namespace {

// The server's folder: its reply file and its log.
std::string ServerFile(const char* name) {
    const char* dir = getenv("SONDREL_SUBSCRIPTION_SERVER");
    std::string path = std::string("Z:") + (dir ? dir : "/nonexistent") + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        char c = field[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

using Event = std::vector<std::string>;

std::vector<Event> Events() {
    std::vector<Event> events;
    std::string log = Slurp(ServerFile("log"));
    size_t start = 0;
    for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        Event fields;
        std::string line = log.substr(start, end - start);
        size_t from = 0;
        for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            fields.push_back(Unescape(line.substr(from, tab - from)));
        fields.push_back(Unescape(line.substr(from)));
        events.push_back(fields);
    }
    return events;
}

}  // namespace

void Reply(int status, const std::string& body, const char* mode) {
    Spit(ServerFile("reply"), std::to_string(status) + " " + mode + "\n" + body);
}

void ClearLog() { Spit(ServerFile("log"), ""); }

std::vector<Request> Requests() {
    std::vector<Request> out;
    for (const Event& e : Events()) {
        if (e[0] != "request" || e.size() < 4) continue;
        Request r{e[1], e[2], e[3], {}};
        for (size_t i = 4; i + 1 < e.size(); i += 2) r.params.emplace_back(e[i], e[i + 1]);
        out.push_back(r);
    }
    return out;
}

std::vector<std::pair<int, int>> Connections() {
    std::vector<std::pair<int, int>> out;
    for (const Event& e : Events())
        if (e[0] == "connection" && e.size() == 3) out.emplace_back(std::stoi(e[1]), std::stoi(e[2]));
    return out;
}

std::vector<int> ProbeConnections() {
    std::vector<int> out;
    for (const auto& c : Connections())
        if (c.first == 0) out.push_back(c.second);
    return out;
}

std::vector<int> WaitForProbes(size_t count) {
    for (int i = 0; i < 100 && ProbeConnections().size() < count; ++i) Sleep(20);
    Sleep(100);  // and anything more that would come
    return ProbeConnections();
}

bool NoProbeSeen() {
    Sleep(300);
    return ProbeConnections().empty();
}

Outcome Send(const char* email) {
    bool acknowledged = true;  // must be set by the call
    CFailure failure = SendSubscription(email, &acknowledged);
    return {failure.IsRaised(), failure.Message().c_str(), acknowledged};
}
