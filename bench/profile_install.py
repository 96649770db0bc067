"""Where one install's time goes, step by step, read from Wine's relay log of the calls
setup.exe makes (with time stamps): the calls that open each step mark where it starts,
and a step lasts until the next one starts. Run by bench/profile-install.sh.

    profile_install.py LOG...

Each LOG is the relay log of one install; the table gives each step's median over them,
and, where install_timer's RESULT line lies beside a log (run-N.result), the time the
process took to end after its exit call.
The progress bar's steps are split into their mandated pauses (10 ms each) and the rest."""
import re
import statistics
import sys
from collections import defaultdict

LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):(Call|Ret)\s+(\w+)\.(\w+)\((.*?)\)")
PAUSE = 0.010  # seconds each step of the progress bar must wait


def events(path):
    """(seconds, thread, Call or Ret, function, arguments) of every relay line."""
    for line in open(path, errors="replace"):
        m = LINE.match(line)
        if m:
            yield float(m.group(1)), m.group(2), m.group(3), m.group(5), m.group(6)


def payload_name(args):
    names = re.findall(r'"([A-Z0-9]+)"', args)
    names = [n for n in names if n != "FILE"]
    return names[0] if names else "?"


def steps(path):
    """[(label, seconds, paused seconds)] of one install, in order."""
    found = []
    label, start, paused = None, None, 0.0
    main = None
    shortcut = 0
    after_shell_service = False
    old_done = False
    boxes = 0

    def open_step(name, at):
        nonlocal label, start, paused
        if label is not None:
            found.append((label, at - start, paused))
        label, start, paused = name, at, 0.0

    for at, thread, kind, function, args in events(path):
        if main is None:
            if function != "GetWindowTextLengthA" or kind != "Call":
                continue
            main = thread
            open_step("reading the dialog", at)
            continue
        if thread != main:
            continue
        if function == "Sleep":
            if kind == "Call":
                if not label.startswith("progress bar"):
                    open_step("progress bar", at)
                paused += PAUSE  # the mandated pause: the step's other time is the program's
            continue
        if kind != "Call":
            continue
        if function == "CreateDirectoryA" and label == "reading the dialog":
            open_step("folders", at)
        elif function == "FindWindowA" and label == "folders":
            open_step("close requests", at)
        elif function == "FindResourceExA" and '"FILE"' in args:
            open_step("payload " + payload_name(args), at)
        elif function == "RegOpenKeyExW" and not old_done:
            old_done = True
            open_step("previous version's shortcuts", at)
        elif function == "CoInitialize":
            after_shell_service = True
            open_step("shell-link service", at)
        elif function == "RegOpenKeyExW" and after_shell_service:
            shortcut += 1
            open_step(f"shortcut {shortcut}", at)
        elif function == "WritePrivateProfileStringA" and not label.startswith("settings"):
            after_shell_service = False
            open_step("settings", at)
        elif function == "MessageBoxA":
            boxes += 1
            open_step(("question: default player" if boxes == 1 else "question: start the application")
                      + " (up, answered, gone)", at)
        elif function == "GetPrivateProfileIntA":
            open_step("newsletter offer (already subscribed)", at)
        elif function == "EndDialog":
            open_step("the end, to the exit call", at)
        elif function == "ExitProcess":
            open_step("exit", at)
    if label is not None and label != "exit":
        raise SystemExit(f"{path}: the log ends inside \"{label}\"")
    return found


def figure(log):
    """The timed figure of the run whose log this is (RESULT ms= in the .result beside it)."""
    try:
        text = open(re.sub(r"\.log$", ".result", log)).read()
    except OSError:
        return None
    m = re.search(r" ms=([0-9.]+)", text)
    return float(m.group(1)) if m else None


def main(argv):
    logs = argv
    per_step = defaultdict(list)
    order = []
    totals = []
    for log in logs:
        seen = defaultdict(int)
        total = 0.0
        for label, seconds, paused in steps(log):
            seen[label] += 1
            key = label if seen[label] == 1 else f"{label} ({seen[label]})"
            if key not in order:
                order.append(key)
            per_step[key].append((seconds, paused))
            total += seconds - paused
        totals.append(total)
    print(f"| Step | ms beyond pauses (median of {len(logs)}) | of which ms paused |")
    print("|---|--:|--:|")
    for key in order:
        beyond = statistics.median(s - p for s, p in per_step[key]) * 1000
        paused = statistics.median(p for _, p in per_step[key]) * 1000
        print(f"| {key} | {beyond:.1f} | {paused:.0f} |" if paused else f"| {key} | {beyond:.1f} | |")
    print(f"| **press to exit call** | **{statistics.median(totals) * 1000:.0f}** | |")
    figures = [figure(log) for log in logs]
    if all(f is not None for f in figures):
        # The rest of the timed figure: the process ending after its exit call.
        ends = [f - t * 1000 for f, t in zip(figures, totals)]
        print(f"| the process ending after its exit call | {statistics.median(ends):.0f} | |")
        print(f"| **the timed figure (install_timer, log and all)** | **{statistics.median(figures):.0f}** | |")


if __name__ == "__main__":
    main(sys.argv[1:])
