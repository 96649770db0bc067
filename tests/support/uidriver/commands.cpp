#include "commands.h"

#include <functional>
#include <map>

#include "accessible.h"
#include "finder.h"
#include "input.h"
#include "inspect.h"
#include "msgbox.h"
#include "protocol.h"
#include "screenshot.h"

namespace uid {

namespace {

using Args = std::vector<std::string>;  // the fields after the verb

struct Verb {
    size_t min_args, max_args;
    const char* usage;
    std::function<Reply(const Args&)> run;
};

long long timeout_arg(const std::string& s) {
    long long t = parse_int(s, "timeout_ms");
    if (t < 0) throw CommandError("timeout_ms must not be negative");
    return t;
}

// Optional 2nd and 3rd arguments of children / baseunits: the dialog font.
FontHint font_hint(const Args& a) {
    FontHint hint;
    if (a.size() == 2) throw CommandError("give both the font face and its point size, or neither");
    if (a.size() == 3) {
        hint.face = widen(a[1]);
        long long pt = parse_int(a[2], "font point size");
        if (a[1].empty() || pt <= 0 || pt > 100) throw CommandError("bad font '" + a[1] + "' " + a[2]);
        hint.points = int(pt);
    }
    return hint;
}

const std::map<std::string, Verb>& verbs() {
    static const std::map<std::string, Verb> table = {
        {"windows", {0, 0, "windows", [](const Args&) { return cmd_windows(); }}},
        {"allwindows", {0, 0, "allwindows", [](const Args&) { return cmd_all_windows(); }}},
        {"find", {3, 4, "find<TAB>class<TAB>title<TAB>timeout_ms[<TAB>exe]",
                  [](const Args& a) { return cmd_find(a[0], a[1], timeout_arg(a[2]), a.size() > 3 ? a[3] : ""); }}},
        {"gone", {2, 2, "gone<TAB>hwnd<TAB>timeout_ms",
                  [](const Args& a) { return cmd_gone(parse_hwnd(a[0]), timeout_arg(a[1])); }}},
        {"info", {1, 1, "info<TAB>hwnd", [](const Args& a) { return cmd_info(parse_hwnd(a[0])); }}},
        {"children", {1, 3, "children<TAB>hwnd[<TAB>font face<TAB>font points]",
                      [](const Args& a) { return cmd_children(parse_hwnd(a[0]), font_hint(a)); }}},
        {"baseunits", {1, 3, "baseunits<TAB>hwnd[<TAB>font face<TAB>font points]",
                       [](const Args& a) { return cmd_baseunits(parse_hwnd(a[0]), font_hint(a)); }}},
        {"text", {2, 2, "text<TAB>hwnd<TAB>id", [](const Args& a) { return cmd_text(parse_hwnd(a[0]), a[1]); }}},
        {"settext", {3, 3, "settext<TAB>hwnd<TAB>id<TAB>text",
                     [](const Args& a) { return cmd_settext(parse_hwnd(a[0]), a[1], a[2]); }}},
        {"checked", {2, 2, "checked<TAB>hwnd<TAB>id",
                     [](const Args& a) { return cmd_checked(parse_hwnd(a[0]), a[1]); }}},
        {"progress", {2, 2, "progress<TAB>hwnd<TAB>id",
                      [](const Args& a) { return cmd_progress(parse_hwnd(a[0]), a[1]); }}},
        {"focus", {1, 1, "focus<TAB>hwnd", [](const Args& a) { return cmd_focus(parse_hwnd(a[0])); }}},
        {"click", {2, 2, "click<TAB>hwnd<TAB>id", [](const Args& a) { return cmd_click(parse_hwnd(a[0]), a[1]); }}},
        {"mouseclick", {2, 2, "mouseclick<TAB>hwnd<TAB>id",
                        [](const Args& a) { return cmd_mouseclick(parse_hwnd(a[0]), a[1]); }}},
        {"key", {2, 2, "key<TAB>hwnd<TAB>name", [](const Args& a) { return cmd_key(parse_hwnd(a[0]), a[1]); }}},
        {"type", {2, 2, "type<TAB>hwnd<TAB>text", [](const Args& a) { return cmd_type(parse_hwnd(a[0]), a[1]); }}},
        {"close", {1, 1, "close<TAB>hwnd", [](const Args& a) { return cmd_close(parse_hwnd(a[0])); }}},
        {"accessible", {1, 1, "accessible<TAB>hwnd", [](const Args& a) { return cmd_accessible(parse_hwnd(a[0])); }}},
        {"msgbox", {1, 1, "msgbox<TAB>hwnd", [](const Args& a) { return cmd_msgbox(parse_hwnd(a[0])); }}},
        {"screenshot", {2, 2, "screenshot<TAB>hwnd<TAB>path",
                        [](const Args& a) { return cmd_screenshot(parse_hwnd(a[0]), a[1]); }}},
        {"quit", {0, 0, "quit", [](const Args&) { return Reply(); }}},
    };
    return table;
}

// For messages that quote the request: at most 80 bytes of it.
std::string quoted(const std::string& s) {
    return "'" + (s.size() > 80 ? s.substr(0, 80) + "..." : s) + "'";
}

std::string known_verbs() {
    std::string s;
    for (const auto& v : verbs()) s += (s.empty() ? "" : ", ") + v.first;
    return s;
}

}  // namespace

Outcome handle_request(const std::vector<std::string>& fields) {
    Outcome out;
    try {
        if (fields.empty() || fields[0].empty()) throw CommandError("empty request; verbs: " + known_verbs());
        auto it = verbs().find(fields[0]);
        if (it == verbs().end()) throw CommandError("unknown verb " + quoted(fields[0]) + "; verbs: " + known_verbs());
        const Verb& verb = it->second;
        Args args(fields.begin() + 1, fields.end());
        if (args.size() < verb.min_args || args.size() > verb.max_args)
            throw CommandError(quoted(fields[0]) + " takes " + dec((long long)verb.min_args) +
                               (verb.max_args != verb.min_args ? "-" + dec((long long)verb.max_args) : "") +
                               " argument(s), got " + dec((long long)args.size()) + "; usage: " + verb.usage);
        out.text = verb.run(args).format();
        out.quit = fields[0] == "quit";
    } catch (const CommandError& e) {
        out.text = format_error(e.what());
    } catch (const std::exception& e) {
        out.text = format_error(std::string("internal error: ") + e.what());
    } catch (...) {
        out.text = format_error("internal error");
    }
    return out;
}

}  // namespace uid
