"""Client for uidriver.exe, the end-to-end tests' UI driver (tests/support/uidriver/).

uidriver.exe runs under Wine next to the program under test (same WINEPREFIX,
wineserver and X display). It reads one request per line on stdin, a verb and
arguments separated by TABs, and answers each with one line ``OK<TAB>fields``
or ``ERR<TAB>message``; a list answer is ``OK<TAB>N`` followed by N lines.
Backslash, newline, carriage return and tab are escaped in every text as
``\\\\ \\n \\r \\t``; texts are UTF-8.

Typical use::

    with UiDriver("build/uidriver.exe", env) as ui:
        dlg = ui.find("#32770", "Désinstallation", timeout=20)
        ui.click(dlg, IDOK)
        box = ui.wait_msgbox("Setup")
        assert ui.msgbox(box)["icon"] == "question"
        ui.key(box, "Enter")

Input is asynchronous: after click/key/type, wait for the effect with
wait_text() or wait_for() rather than reading state at once. key() and type()
use SendInput when the window can be brought to the foreground with the focus
inside it, else they post key messages to the focus window; UIDRIVER_INPUT=post
or =sendinput in the driver's environment forces one way.

Python 3.11 standard library only.
"""

from __future__ import annotations

import collections
import os
import queue
import subprocess
import threading
import time
from typing import Any, Callable, Iterable

__all__ = ["UiDriver", "UiDriverError", "escape", "unescape", "IDOK", "IDCANCEL"]

IDOK = 1
IDCANCEL = 2

_ESCAPES = {"\\": "\\\\", "\n": "\\n", "\r": "\\r", "\t": "\\t"}
_UNESCAPES = {"n": "\n", "r": "\r", "t": "\t"}


class UiDriverError(Exception):
    """The driver answered ERR, died, or did not answer in time."""


def escape(text: str) -> str:
    return "".join(_ESCAPES.get(c, c) for c in text)


def unescape(text: str) -> str:
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            out.append(_UNESCAPES.get(text[i], text[i]))
        else:
            out.append(c)
        i += 1
    return "".join(out)


def _hwnd(text: str) -> int:
    return int(text, 16) if text.lower().startswith("0x") else int(text)


def _fmt_hwnd(hwnd: int) -> str:
    return "0x%x" % hwnd


def _fmt_id(item: int | str) -> str:
    return item if isinstance(item, str) else str(int(item))


def _ms(seconds: float) -> str:
    return str(max(0, int(round(seconds * 1000))))


class UiDriver:
    """One running uidriver.exe. Use as a context manager or call close_driver()."""

    #: Seconds to wait for an answer on top of the timeout a request itself carries.
    answer_timeout = 60.0

    def __init__(self, exe_path: str, env: dict[str, str] | None = None,
                 wine: str = "wine", answer_timeout: float | None = None):
        if answer_timeout is not None:
            self.answer_timeout = answer_timeout
        self._lines: queue.Queue[str | None] = queue.Queue()
        self._stderr: collections.deque[str] = collections.deque(maxlen=200)
        self._lock = threading.Lock()
        self._broken: str | None = None
        self._proc = subprocess.Popen(
            [wine, exe_path],
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            env=dict(env) if env is not None else None,
            text=True,
            encoding="utf-8",
            errors="replace",
            bufsize=1,
        )
        threading.Thread(target=self._pump, args=(self._proc.stdout, self._lines.put, True),
                         name="uidriver-stdout", daemon=True).start()
        threading.Thread(target=self._pump, args=(self._proc.stderr, self._stderr.append, False),
                         name="uidriver-stderr", daemon=True).start()

    @staticmethod
    def _pump(stream, sink: Callable[[Any], None], mark_eof: bool) -> None:
        try:
            for line in stream:
                sink(line.rstrip("\r\n"))
        except (OSError, ValueError):
            pass
        finally:
            if mark_eof:
                sink(None)

    # ----------------------------------------------------------------- plumbing

    def __enter__(self) -> "UiDriver":
        return self

    def __exit__(self, *exc) -> None:
        self.close_driver()

    def stderr_tail(self) -> str:
        """The last lines the driver (and Wine) wrote on stderr, for diagnostics."""
        return "\n".join(self._stderr)

    def close_driver(self, timeout: float = 10.0) -> None:
        proc = self._proc
        if proc.poll() is None:
            try:
                if self._broken is None:
                    self.request("quit", timeout=timeout)
            except (UiDriverError, OSError):
                pass
            try:
                proc.stdin.close()
            except OSError:
                pass
            try:
                proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(timeout=timeout)
        self._broken = self._broken or "driver closed"

    def _next_line(self, deadline: float, request: str) -> str:
        remaining = max(0.0, deadline - time.monotonic())
        try:
            line = self._lines.get(timeout=remaining)
        except queue.Empty:
            self._broken = "no answer to %r within the time allowed" % request
            raise UiDriverError("uidriver did not answer %r in time; stderr:\n%s"
                                % (request, self.stderr_tail())) from None
        if line is None:
            self._broken = "driver exited"
            raise UiDriverError("uidriver exited (code %s) while answering %r; stderr:\n%s"
                                % (self._proc.poll(), request, self.stderr_tail()))
        return line

    def _exchange(self, fields: Iterable[Any], timeout: float | None, is_list: bool):
        fields = [str(f) for f in fields]
        request = "\t".join(escape(f) for f in fields)
        with self._lock:
            if self._broken is not None:
                raise UiDriverError("uidriver is unusable: " + self._broken)
            try:
                self._proc.stdin.write(request + "\n")
                self._proc.stdin.flush()
            except (OSError, ValueError) as e:
                self._broken = "cannot write to the driver"
                raise UiDriverError("cannot write to uidriver: %s; stderr:\n%s" % (e, self.stderr_tail())) from e
            deadline = time.monotonic() + (timeout or 0.0) + self.answer_timeout
            head = [unescape(f) for f in self._next_line(deadline, request).split("\t")]
            if head[0] == "ERR":
                raise UiDriverError("%s: %s" % (fields[0], "\t".join(head[1:])))
            if head[0] != "OK":
                self._broken = "protocol error"
                raise UiDriverError("unexpected answer to %r: %r" % (request, head))
            if not is_list:
                return head[1:]
            if len(head) != 2 or not head[1].isdigit():
                self._broken = "protocol error"
                raise UiDriverError("unexpected list answer to %r: %r" % (request, head))
            return [[unescape(f) for f in self._next_line(deadline, request).split("\t")]
                    for _ in range(int(head[1]))]

    def request(self, *fields: Any, timeout: float | None = None) -> list[str]:
        """Sends one request; returns the answer's fields after OK (unescaped).

        ``timeout`` is the time the request itself may take (a find's wait); the
        answer is awaited that long plus ``answer_timeout`` seconds. Raises
        UiDriverError on ERR. After a missing answer the driver is unusable.
        """
        return self._exchange(fields, timeout, is_list=False)

    def request_list(self, *fields: Any, timeout: float | None = None) -> list[list[str]]:
        """Sends a request answered by a list; returns its records (unescaped fields)."""
        return self._exchange(fields, timeout, is_list=True)

    # -------------------------------------------------------------------- verbs

    def windows(self) -> list[dict[str, Any]]:
        """Visible top-level windows, topmost first."""
        return [
            {"hwnd": _hwnd(r[0]), "pid": int(r[1]), "exe": r[2], "cls": r[3], "title": r[4],
             "owner": _hwnd(r[5]), "enabled": r[6] == "1"}
            for r in self.request_list("windows")
        ]

    def all_windows(self) -> list[dict[str, Any]]:
        """Every top-level window, hidden ones included (key "visible")."""
        return [
            {"hwnd": _hwnd(r[0]), "pid": int(r[1]), "exe": r[2], "cls": r[3], "title": r[4],
             "owner": _hwnd(r[5]), "enabled": r[6] == "1", "visible": r[7] == "1"}
            for r in self.request_list("allwindows")
        ]

    def find(self, cls: str = "*", title: str = "*", timeout: float = 10.0, exe: str | None = None) -> int:
        """Waits for a visible top-level window of that class and exact title ("*": any)."""
        fields = ["find", cls, title, _ms(timeout)]
        if exe:
            fields.append(exe)
        return _hwnd(self.request(*fields, timeout=timeout)[0])

    def wait_msgbox(self, caption: str = "*", timeout: float = 10.0, exe: str | None = None) -> int:
        """Waits for a visible message box (a #32770 dialog with the static text of id
        65535 that MessageBox makes) with that caption ("*": any); returns its hwnd.

        Unlike find("#32770", caption), an ordinary dialog with the same caption
        (such as the box's owner) is never taken for it.
        """
        deadline = time.monotonic() + timeout
        while True:
            for w in self.windows():
                if (w["cls"] == "#32770" and caption in ("*", w["title"])
                        and (not exe or w["exe"].lower() == exe.lower()) and self._is_msgbox(w["hwnd"])):
                    return w["hwnd"]
            if time.monotonic() >= deadline:
                raise UiDriverError("wait_msgbox: no message box with caption %r after %.1f s; visible windows: %s"
                                    % (caption, timeout, ["%s %r" % (w["cls"], w["title"]) for w in self.windows()]))
            time.sleep(0.05)

    def _is_msgbox(self, hwnd: int) -> bool:
        try:
            kids = self.children(hwnd)
        except UiDriverError:  # gone meanwhile
            return False
        return any(k["id"] == 0xFFFF and k["cls"].lower() == "static" and (k["style"] & 0x1F) != 0x3
                   for k in kids)

    def gone(self, hwnd: int, timeout: float = 10.0) -> None:
        """Waits until the window is destroyed or hidden; UiDriverError on timeout."""
        self.request("gone", _fmt_hwnd(hwnd), _ms(timeout), timeout=timeout)

    def info(self, hwnd: int) -> dict[str, Any]:
        f = self.request("info", _fmt_hwnd(hwnd))
        return {
            "cls": f[0], "title": f[1], "style": int(f[2], 16), "exstyle": int(f[3], 16),
            "rect": tuple(int(v) for v in f[4:8]), "client": (int(f[8]), int(f[9])),
            "enabled": f[10] == "1", "visible": f[11] == "1", "iconic": f[12] == "1",
            "owner": _hwnd(f[13]), "pid": int(f[14]), "tid": int(f[15]),
        }

    def children(self, hwnd: int, font: tuple[str, int] | None = None) -> list[dict[str, Any]]:
        """Direct children in Z order (template order for a dialog).

        rect: (left, top, right, bottom) in pixels in the parent's client area;
        dlu: (x, y, w, h) in dialog units, all -1 if the base units are unknown.
        font: the dialog template's font, e.g. ("MS Shell Dlg", 8), makes the
        dialog units exact under Wine, where the driver cannot read the dialog's
        font and otherwise guesses it from the geometry (see baseunits()).
        """
        return [
            {"hwnd": _hwnd(r[0]), "id": int(r[1]), "cls": r[2], "text": r[3],
             "style": int(r[4], 16), "exstyle": int(r[5], 16),
             "rect": tuple(int(v) for v in r[6:10]), "dlu": tuple(int(v) for v in r[10:14])}
            for r in self.request_list("children", _fmt_hwnd(hwnd), *(font or ()))
        ]

    def baseunits(self, hwnd: int, font: tuple[str, int] | None = None) -> tuple[int, int, str]:
        """(baseX, baseY, how they were found) of a dialog; -1s if unknown."""
        f = self.request("baseunits", _fmt_hwnd(hwnd), *(font or ()))
        return int(f[0]), int(f[1]), f[2]

    def text(self, hwnd: int, item: int | str = "self") -> str:
        """Text of a dialog item (WM_GETTEXT); item "self" or -1 for the window itself."""
        return self.request("text", _fmt_hwnd(hwnd), _fmt_id(item))[0]

    def settext(self, hwnd: int, item: int | str, text: str) -> None:
        self.request("settext", _fmt_hwnd(hwnd), _fmt_id(item), text)

    def checked(self, hwnd: int, item: int | str) -> int:
        """BM_GETCHECK: 0 unchecked, 1 checked, 2 indeterminate."""
        return int(self.request("checked", _fmt_hwnd(hwnd), _fmt_id(item))[0])

    def progress(self, hwnd: int, item: int | str) -> tuple[int, int, int]:
        """(position, low, high) of a progress bar."""
        f = self.request("progress", _fmt_hwnd(hwnd), _fmt_id(item))
        return int(f[0]), int(f[1]), int(f[2])

    def focus(self, hwnd: int) -> dict[str, Any]:
        """Keyboard focus of hwnd's thread: hwnd, id, cls, text, active, sel (start, end) or None."""
        f = self.request("focus", _fmt_hwnd(hwnd))
        sel = (int(f[5]), int(f[6]))
        return {"hwnd": _hwnd(f[0]), "id": int(f[1]) if f[1] else 0, "cls": f[2], "text": f[3],
                "active": _hwnd(f[4]), "sel": None if sel == (-1, -1) else sel}

    def click(self, hwnd: int, item: int | str) -> None:
        """Posts BM_CLICK to the item: returns at once, even if the click opens a modal box."""
        self.request("click", _fmt_hwnd(hwnd), _fmt_id(item))

    def mouseclick(self, hwnd: int, item: int | str = "self") -> tuple[int, int]:
        """A real left click (SendInput) at the item's centre; returns the screen point."""
        f = self.request("mouseclick", _fmt_hwnd(hwnd), _fmt_id(item))
        return int(f[0]), int(f[1])

    def key(self, hwnd: int, name: str) -> str:
        """Presses a key (Enter, Escape, Tab, Space, Shift+Tab, Alt+x, one character...) in
        hwnd's top-level window. Returns "sendinput" or "posted": how it was delivered."""
        return self.request("key", _fmt_hwnd(hwnd), name)[0]

    def type(self, hwnd: int, text: str) -> str:
        """Types text into the focus window of hwnd's thread, character by character."""
        return self.request("type", _fmt_hwnd(hwnd), text)[0]

    def close(self, hwnd: int) -> None:
        """What the title bar's close box does: WM_SYSCOMMAND SC_CLOSE to the top-level window."""
        self.request("close", _fmt_hwnd(hwnd))

    def accessible(self, hwnd: int) -> list[dict[str, Any]]:
        """Each control of the window as a screen reader reads it through MSAA: its id,
        class, name and keyboard shortcut ("" where it has none)."""
        return [{"hwnd": int(h, 16), "id": int(i), "cls": c, "name": n, "shortcut": k}
                for h, i, c, n, k in self.request_list("accessible", _fmt_hwnd(hwnd))]

    def msgbox(self, hwnd: int) -> dict[str, Any]:
        """Reads a standard message box: caption, text, buttons [(id, text)], icon.

        icon is one of stop, question, exclamation, information, none (or unknown
        for another icon, or one that is covered on the screen).
        """
        f = self.request("msgbox", _fmt_hwnd(hwnd))
        buttons = []
        for pair in f[2].split("|") if f[2] else []:
            ident, _, label = pair.partition("=")
            buttons.append((int(ident), label))
        return {"caption": f[0], "text": f[1], "buttons": buttons, "icon": f[3]}

    def screenshot(self, hwnd: int, path: str | os.PathLike) -> tuple[int, int]:
        """Writes the window's rectangle of the screen as a 24-bit BMP (Unix or Windows
        path); returns (width, height)."""
        f = self.request("screenshot", _fmt_hwnd(hwnd), os.fspath(path))
        return int(f[0]), int(f[1])

    # ----------------------------------------------------------------- helpers

    def wait_for(self, predicate: Callable[[], Any], timeout: float = 10.0,
                 interval: float = 0.05, what: str = "condition") -> Any:
        """Polls predicate() until it returns a true value, which is returned.

        Input is delivered asynchronously: after key/type/click, use this to wait
        for its effect (e.g. ``ui.wait_for(lambda: ui.text(dlg, 101) == "abc")``).
        """
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() >= deadline:
                raise UiDriverError("timeout after %.1f s waiting for %s" % (timeout, what))
            time.sleep(interval)

    def wait_text(self, hwnd: int, item: int | str, expected: str, timeout: float = 10.0) -> None:
        """Waits until the item's text equals expected."""
        last = []

        def check():
            last[:] = [self.text(hwnd, item)]
            return last[0] == expected

        try:
            self.wait_for(check, timeout, what="text %r" % expected)
        except UiDriverError:
            raise UiDriverError("timeout waiting for item %s text %r, it is %r"
                                % (item, expected, last[0] if last else None)) from None
