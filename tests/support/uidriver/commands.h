// Dispatch of one request (already split into unescaped fields) to the verb
// that implements it, with argument count checks.
#pragma once

#include <string>
#include <vector>

namespace uid {

struct Outcome {
    std::string text;  // the complete reply, one or more "\n"-terminated lines
    bool quit = false;
};

// Never throws: every failure becomes an "ERR<TAB>message" reply.
Outcome handle_request(const std::vector<std::string>& fields);

}  // namespace uid
