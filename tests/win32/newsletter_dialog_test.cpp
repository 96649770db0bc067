// The newsletter dialog, live on the test thread, sending to the real HTTP server on
// 127.0.0.1:80 that ctest runs around this program (tests/e2e/subscription_server.py).
// ctest runs it in English and in French; SONDREL_EXPECT_LANG says which.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "live_dialog.h"
#include "newsletter/newsletter_dlg.h"
#include "resources/resource.h"

namespace {

bool French() {
    const char* lang = getenv("SONDREL_EXPECT_LANG");
    return lang && std::string(lang) == "fr";
}

// The message texts as the user must read them, in the ANSI code page.
std::string Caption() { return French() ? "Installation de [ mp3 - sondrel ]" : "[ mp3 - sondrel ] setup"; }

std::string InvalidEmail() {
    return French() ? "D\xE9sol\xE9, l'adresse email saisie n'est pas valide !\nMerci de bien vouloir la corriger."
                    : "Sorry, your email is not valid !\nPlease correct it.";
}

std::string TransmissionFailed() {
    return French() ? "L'envoi de votre adresse email au serveur a \xE9" "chou\xE9 !\nN\xE9" "anmoins il vous est "
                      "possible ult\xE9rieurement de vous inscrire directement sur le site de\n [ mp3-sondrel ]."
                    : "The transmission of your email to the server has failed !\nHowever you can subscribe later "
                      "to this newsletter \ndirectly on the [ mp3-sondrel ]'s web site.";
}

// The server answers every request with this status and body from now on.
void Reply(int status, const std::string& body) {
    const char* dir = getenv("SONDREL_SUBSCRIPTION_SERVER");
    std::string path = std::string("Z:") + (dir ? dir : "/nonexistent") + "/reply";
    for (char& c : path)
        if (c == '/') c = '\\';
    std::string data = std::to_string(status) + "\n" + body;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD n;
    WriteFile(f, data.data(), DWORD(data.size()), &n, nullptr);
    CloseHandle(f);
}

// What DoModal gives for a dialog that the body left open.
const INT_PTR kLeftOpen = 99;

// The newsletter dialog that, once shown, runs `body`; a dialog the body left open is
// ended with kLeftOpen afterwards. DoModal gives the result the dialog ended with.
class ScriptedDlg : public CNewsletterDlg {
public:
    std::function<void(ScriptedDlg&)> body;

    std::string EditText() const {
        char text[512] = {};
        GetDlgItemTextA(m_hWnd, IDC_EMAIL, text, sizeof text);
        return text;
    }
    void Command(int id) { ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    bool Open() const { return IsWindowVisible(m_hWnd) != FALSE; }  // ending the dialog hides it
    // Handles what is queued for the thread, as the dialog's own loop would, until the
    // dialog has ended or a second has passed.
    void PumpUntilEnded() {
        for (int i = 0; i < 100 && Open(); ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (IsDialogMessageA(m_hWnd, &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(10);
        }
    }

protected:
    static constexpr UINT kRunBody = WM_APP + 78;
    BOOL OnInitDialog() override {
        BOOL result = CNewsletterDlg::OnInitDialog();
        PostMessageA(m_hWnd, kRunBody, 0, 0);
        return result;
    }
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
        if (msg != kRunBody) return CNewsletterDlg::OnMessage(msg, wp, lp, handled);
        handled = true;
        ShowWindow(m_hWnd, SW_SHOW);
        if (body) body(*this);
        if (Open()) EndDialog(kLeftOpen);
        return TRUE;
    }
};

INT_PTR RunScripted(ScriptedDlg& dlg, std::function<void(ScriptedDlg&)> body) {
    dlg.body = std::move(body);
    return dlg.DoModal();
}

class NewsletterDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("SONDREL_SUBSCRIPTION_SERVER"), nullptr) << "run through subscription_server.py";
        Reply(200, "OK");
    }
    void ExpectWarning(const SeenMessageBox& box, const std::string& text, HWND owner) {
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, Caption());
        EXPECT_EQ(box.icon, "exclamation");
        EXPECT_EQ(box.owner, owner);
    }
};

// --- The plausibility test ------------------------------------------------------------

TEST(IsValidEmail, NeedsAnAtADotAndNoSpace) {
    for (const char* bad : {"", "john@example", "john.example.com", "john doe@example.com", " john@example.com",
                            "john@example.com ", "@", ".", "@ ."})
        EXPECT_FALSE(CNewsletterDlg::IsValidEmail(bad)) << "'" << bad << "'";
    for (const char* good : {"john@example.com", "@.", ".@", "a@b@c.d", "first.last@host", "a@b.c\t", "\x01@.",
                             "a&b+c%d#e/f@example.com", "\xE9t\xE9@example.fr"})
        EXPECT_TRUE(CNewsletterDlg::IsValidEmail(good)) << "'" << good << "'";
}

// --- The dialog -------------------------------------------------------------------------

TEST_F(NewsletterDialog, OpensEmptyWithTheFocusOnOk) {
    ScriptedDlg dlg;
    EXPECT_TRUE(dlg.m_strEmail.IsEmpty());
    RunScripted(dlg, [](ScriptedDlg& d) {
        EXPECT_EQ(d.EditText(), "");
        EXPECT_EQ(GetFocus(), d.GetDlgItem(IDOK));
        EXPECT_EQ(SendMessageA(d.m_hWnd, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        char title[128] = {};
        GetWindowTextA(d.m_hWnd, title, sizeof title);
        EXPECT_STREQ(title, "[ mp3 - sondrel ]'s newsletter") << "the dialog is English in every language";
    });
}

TEST_F(NewsletterDialog, OkAtOnceRejectsTheEmptyTextAndPutsTheCaretInTheField) {
    ScriptedDlg dlg;
    MessageBoxWatcher watcher;
    HWND shown = nullptr;
    EXPECT_EQ(RunScripted(dlg,
                  [&](ScriptedDlg& d) {
                      shown = d.m_hWnd;
                      d.Command(IDOK);
                      EXPECT_TRUE(d.Open());
                      EXPECT_EQ(GetFocus(), d.GetDlgItem(IDC_EMAIL));
                      EXPECT_EQ(d.EditText(), "");
                      d.Command(IDOK);  // and again: the test is repeated
                      EXPECT_TRUE(d.Open());
                  }),
              kLeftOpen);
    ASSERT_EQ(watcher.seen().size(), 2u);
    ExpectWarning(watcher.seen()[0], InvalidEmail(), shown);
    ExpectWarning(watcher.seen()[1], InvalidEmail(), shown);
}

class RejectedAddress : public NewsletterDialog, public ::testing::WithParamInterface<const char*> {};

TEST_P(RejectedAddress, ShowsMessage41KeepsTheTextAndSendsNothing) {
    ScriptedDlg dlg;
    MessageBoxWatcher watcher;
    HWND shown = nullptr;
    Reply(200, "NOT EXPECTED: nothing is sent");
    INT_PTR result = RunScripted(dlg, [&](ScriptedDlg& d) {
        shown = d.m_hWnd;
        SetDlgItemTextA(d.m_hWnd, IDC_EMAIL, GetParam());
        d.Command(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(d.EditText(), GetParam());
        EXPECT_EQ(GetFocus(), d.GetDlgItem(IDC_EMAIL));
        EXPECT_EQ(d.m_strEmail.c_str(), std::string(GetParam()));
        d.Command(IDCANCEL);  // cancel after a rejected address: no further message
        EXPECT_FALSE(d.Open());
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(watcher.seen().size(), 1u);
    ExpectWarning(watcher.seen()[0], InvalidEmail(), shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedAddress,
                         ::testing::Values("", "john@example", "john.example.com", "john doe@example.com",
                                           " john@example.com", "john@example.com "));

class AcceptedAddress : public NewsletterDialog, public ::testing::WithParamInterface<const char*> {};

TEST_P(AcceptedAddress, IsSentAndAnAcknowledgementEndsTheDialogWithOk) {
    ScriptedDlg dlg;
    MessageBoxWatcher watcher;
    INT_PTR result = RunScripted(dlg, [&](ScriptedDlg& d) {
        SetDlgItemTextA(d.m_hWnd, IDC_EMAIL, GetParam());
        d.Command(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_strEmail.c_str(), std::string(GetParam()));
    EXPECT_TRUE(watcher.seen().empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, AcceptedAddress,
                         ::testing::Values("john.doe@example.com", "@.", ".@", "a@b@c.d", "first.last@host", "a@b.c\t",
                                           "a&b+c%d#e/f@example.com"));

TEST_F(NewsletterDialog, AReplyWithoutOkShowsMessage42ThenCancels) {
    Reply(200, "refused");
    ScriptedDlg dlg;
    HWND shown = nullptr;
    bool openBehindTheMessage = false;
    MessageBoxWatcher watcher({Answer(IDOK, [&] { openBehindTheMessage = IsWindowVisible(shown) != FALSE; })});
    INT_PTR result = RunScripted(dlg, [&](ScriptedDlg& d) {
        shown = d.m_hWnd;
        SetDlgItemTextA(d.m_hWnd, IDC_EMAIL, "john.doe@example.com");
        d.Command(IDOK);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(openBehindTheMessage);
    ASSERT_EQ(watcher.seen().size(), 1u);
    ExpectWarning(watcher.seen()[0], TransmissionFailed(), shown);
}

TEST_F(NewsletterDialog, CancelAndTheCloseBoxEndWithCancelAndNoMessage) {
    for (bool closeBox : {false, true}) {
        ScriptedDlg dlg;
        MessageBoxWatcher watcher;
        INT_PTR result = RunScripted(dlg, [&](ScriptedDlg& d) {
            SetDlgItemTextA(d.m_hWnd, IDC_EMAIL, "john.doe@example.com");
            if (closeBox)
                ::SendMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box posts its Cancel
            else
                d.Command(IDCANCEL);
            d.PumpUntilEnded();
            EXPECT_FALSE(d.Open());
        });
        EXPECT_EQ(result, IDCANCEL) << (closeBox ? "close box" : "Cancel");
        EXPECT_TRUE(watcher.seen().empty());
    }
}

}  // namespace
