"""The newsletter dialog as a user meets it, under Wine and a virtual display, driven by
the UI driver: the address check, the subscription sent to a real HTTP server on
127.0.0.1:80 (subscription_server.py), and every way out with its result.

newsletter_host.exe shows the dialog as the install does (owned by the application's main
window) and exits with its result, so that every way out can be tried without an install
before each; test_whole_install.py meets the dialog inside the install itself."""
import os
import time

import pytest

import harness
from subscription_server import SubscriptionServer

TITLE = "[ mp3 - sondrel ]'s newsletter"
HOST_TITLE = "Newsletter test host"
HOST_EXE = "newsletter_host.exe"
IDOK, IDCANCEL, EMAIL = 1, 2, 1001
WS_CAPTION, WS_SYSMENU, DS_MODALFRAME, ES_AUTOHSCROLL = 0x00C00000, 0x00080000, 0x80, 0x80

TEXTS = {
    "en": {
        "caption": "[ mp3 - sondrel ] setup",
        41: "Sorry, your email is not valid !\nPlease correct it.",
        42: "The transmission of your email to the server has failed !\nHowever you can subscribe later to this "
            "newsletter \ndirectly on the [ mp3-sondrel ]'s web site.",
    },
    "fr": {
        "caption": "Installation de [ mp3 - sondrel ]",
        41: "Désolé, l'adresse email saisie n'est pas valide !\nMerci de bien vouloir la corriger.",
        42: "L'envoi de votre adresse email au serveur a échoué !\nNéanmoins il vous est possible ultérieurement de "
            "vous inscrire directement sur le site de\n [ mp3-sondrel ].",
    },
}

# The template's controls in order: id, class, text, x, y, width, height (dialog units).
# The label stands just before its field: a screen reader names the field after it.
LAYOUT = [
    (IDOK, "Button", "OK", 212, 7, 50, 14),
    (IDCANCEL, "Button", "Cancel", 212, 24, 50, 14),
    (-1, "Static", "In order to keep in touch and to be informed of any upgrade, please leave us your email to "
                   "receive the \n[ mp3 - sondrel ]'s newsletter.", 16, 9, 176, 31),
    (-1, "Static", "&Email :", 17, 54, 22, 8),
    (EMAIL, "Edit", "", 51, 51, 131, 14),
]


@pytest.fixture
def host():
    """Starts the host (in a given language); every run is ended after the test."""
    runs = []

    def start(lang="en_US.UTF-8", extra=None):
        run = harness.SetupRun(lang, os.environ["SONDREL_NEWSLETTER_HOST_EXE"], extra)  # status: the dialog's result
        runs.append(run)
        return run

    yield start
    for run in runs:
        run.kill()


@pytest.fixture
def server(tmp_path):
    with SubscriptionServer(tmp_path / "server") as s:
        yield s


def open_dialog(driver, host, lang="en_US.UTF-8", extra=None):
    run = host(lang, extra)
    return run, driver.find("#32770", TITLE, timeout=30, exe=HOST_EXE)


def expect_box(driver, number, lang="en", name=None):
    """Waits for message `number`, checks it is the exclamation box with only OK, dismisses it."""
    texts = TEXTS[lang]
    seen = harness.answer_box(driver, texts["caption"], IDOK, name=name)
    assert seen["text"] == texts[number]
    assert seen["icon"] == "exclamation"
    assert seen["buttons"] == [(IDOK, "OK")]


def no_message_box(driver):
    return not any(w["cls"] == "#32770" and w["title"] != TITLE and w["exe"].lower() == HOST_EXE
                   for w in driver.windows())


def today_utc():
    return time.strftime("%d/%m/%Y", time.gmtime())


def test_dialog_opens_owned_by_the_main_window_with_its_layout_and_focus_on_ok(driver, host, server):
    run, dlg = open_dialog(driver, host)
    harness.screenshot(driver, dlg, "newsletter-01-dialog")
    info = driver.info(dlg)
    for bit in (WS_CAPTION, WS_SYSMENU, DS_MODALFRAME):
        assert info["style"] & bit, hex(bit)
    main = driver.find("*", HOST_TITLE, timeout=5, exe=HOST_EXE)
    assert info["owner"] == main
    assert not driver.info(main)["enabled"], "the main window waits while the dialog runs"

    controls = driver.children(dlg, ("MS Sans Serif", 8))
    assert [(c["id"], c["cls"]) for c in controls] == [(i, cls) for i, cls, *_ in LAYOUT]
    for c, (cid, cls, text, x, y, w, h) in zip(controls, LAYOUT):
        assert c["text"] == text, cid
        assert all(abs(e - g) <= 1 for e, g in zip((x, y, w, h), c["dlu"])), (cid, c["dlu"])
    assert controls[-1]["style"] & ES_AUTOHSCROLL
    driver.wait_for(lambda: driver.focus(dlg)["id"] == IDOK, what="the focus on OK")

    driver.click(dlg, IDCANCEL)
    assert run.wait() == 2
    assert server.requests() == []


def test_enter_at_once_rejects_the_empty_address_and_leaves_the_caret_in_the_field(driver, host, server):
    run, dlg = open_dialog(driver, host)
    driver.key(dlg, "Enter")
    expect_box(driver, 41, name="newsletter-02-invalid-email")
    driver.wait_for(lambda: driver.focus(dlg)["id"] == EMAIL, what="the caret in the e-mail field")
    assert driver.text(dlg, EMAIL) == ""
    # The caret is where the user types: the next keys land in the field.
    driver.type(dlg, "john.doe@example.com")
    driver.wait_text(dlg, EMAIL, "john.doe@example.com")
    driver.key(dlg, "Enter")
    assert run.wait() == 1
    assert [r["params"][0] for r in server.requests()] == [("email", "john.doe@example.com")]


def test_rejected_addresses_keep_the_dialog_open_and_send_nothing(driver, host, server):
    run, dlg = open_dialog(driver, host)
    for address in ["", "john@example", "john.example.com", "john doe@example.com", " john@example.com",
                    "john@example.com "]:
        driver.settext(dlg, EMAIL, address)
        driver.key(dlg, "Enter")  # from the OK button first, then from the field itself
        expect_box(driver, 41)
        assert driver.text(dlg, EMAIL) == address
        driver.wait_for(lambda: driver.focus(dlg)["id"] == EMAIL, what="the focus back in the field")
    driver.key(dlg, "Escape")  # after rejected addresses, Esc still leaves without a word
    assert run.wait() == 2
    assert no_message_box(driver)
    assert server.requests() == []


@pytest.mark.parametrize("address", ["john.doe@example.com", "@.", ".@", "a@b@c.d", "first.last@host",
                                     "a@b.c\t", "a&b+c%d#e/f@example.com"])
def test_an_accepted_address_is_sent_and_an_acknowledged_subscription_ends_with_1(driver, host, server, address):
    run, dlg = open_dialog(driver, host)
    driver.settext(dlg, EMAIL, address)
    driver.click(dlg, IDOK)
    assert run.wait() == 1
    requests = server.requests()
    assert len(requests) == 1
    assert requests[0]["agent"] == "Register"
    assert requests[0]["params"] == [("email", address), ("lang", "us"), ("regid", "4.3.0a"),
                                     ("date", today_utc())]


def test_with_the_server_down_message_42_comes_then_result_2(driver, host):
    run, dlg = open_dialog(driver, host)
    driver.settext(dlg, EMAIL, "john.doe@example.com")
    driver.key(dlg, "Enter")
    box = driver.wait_msgbox(TEXTS["en"]["caption"], timeout=30)
    assert driver.info(dlg)["visible"], "the dialog stays on screen behind the message"
    assert driver.info(box)["owner"] == dlg
    harness.screenshot(driver, box, "newsletter-03-transmission-failed")
    seen = driver.msgbox(box)
    assert (seen["text"], seen["icon"]) == (TEXTS["en"][42], "exclamation")
    assert run.proc.poll() is None, "the dialog ends only once the message is dismissed"
    driver.click(box, IDOK)
    assert run.wait() == 2


def test_a_reply_without_ok_shows_message_42_then_result_2(driver, host, server):
    server.reply(200, b"Sorry, not today")
    run, dlg = open_dialog(driver, host)
    driver.settext(dlg, EMAIL, "john.doe@example.com")
    driver.click(dlg, IDOK)
    expect_box(driver, 42)
    assert run.wait() == 2
    assert len(server.requests()) == 1


@pytest.mark.parametrize("way_out", ["cancel button", "escape key", "close box"])
def test_leaving_ends_with_2_and_no_message(driver, host, server, way_out):
    run, dlg = open_dialog(driver, host)
    driver.settext(dlg, EMAIL, "john.doe@example.com")
    if way_out == "cancel button":
        driver.mouseclick(dlg, IDCANCEL)
    elif way_out == "escape key":
        driver.key(dlg, "Escape")
    else:
        driver.close(dlg)
    assert run.wait() == 2
    assert no_message_box(driver)
    assert server.requests() == []


def test_a_french_run_shows_french_messages_in_the_english_dialog_and_sends_fr(driver, host, server):
    run, dlg = open_dialog(driver, host, "fr_FR.UTF-8")
    assert [c["text"] for c in driver.children(dlg)][:2] == ["OK", "Cancel"]
    driver.key(dlg, "Enter")
    expect_box(driver, 41, "fr", name="newsletter-04-invalid-email-fr")
    server.reply(404, b"<html>Not found</html>")
    driver.settext(dlg, EMAIL, "jean.dupont@example.fr")
    driver.key(dlg, "Enter")
    expect_box(driver, 42, "fr")
    assert run.wait() == 2
    assert [r["params"][1] for r in server.requests()] == [("lang", "fr")]


def test_a_session_that_cannot_be_opened_is_reported_and_the_dialog_stays_open(driver, host, server):
    run, dlg = open_dialog(driver, host, extra={"SONDREL_HOST_REFUSE_SESSION": "12004"})  # internal error
    driver.settext(dlg, EMAIL, "john.doe@example.com")
    driver.key(dlg, "Enter")
    box = driver.wait_msgbox("newsletter_host", timeout=30)  # the program's name: the framework's box
    seen = driver.msgbox(box)
    harness.screenshot(driver, box, "newsletter-05-session-failed")
    assert seen["icon"] == "stop"
    assert seen["text"] and seen["text"] != TEXTS["en"][42]
    driver.click(box, IDOK)
    driver.gone(box)
    assert run.proc.poll() is None
    assert driver.info(dlg)["visible"]
    assert driver.text(dlg, EMAIL) == "john.doe@example.com"
    assert server.requests() == []
    # The user may press OK again: this time the session opens and the server acknowledges.
    driver.click(dlg, IDOK)
    assert run.wait() == 1
    assert len(server.requests()) == 1
