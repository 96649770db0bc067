// The dialog framework: owners, placement, and failures raised by commands.
#include <gtest/gtest.h>

#include "app/setup_dlg.h"
#include "framework/app.h"
#include "framework/program_name.h"
#include "live_dialog.h"

namespace {

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};

// A dialog whose accept command fails the way a full disk does.
class FailingDialog : public CDialog {
public:
    FailingDialog() : CDialog(IDD_NEWSLETTER) {}
    int m_okCalls = 0;

protected:
    CFailure OnOK() override {
        ++m_okCalls;
        return CFailure::Raise("Disk full while accessing C:\\Apps\\dummy.tmp.");
    }
};

POINT Centre(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(DialogFramework, RaisedFailureIsReportedWithStopIconAndTheDialogStaysOpen) {
    LiveDialog<FailingDialog> dlg;
    MessageBoxWatcher watcher;
    dlg.body = [&](LiveDialog<FailingDialog>& d) {
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(IsWindow(d.m_hWnd)) << "the dialog must stay open";
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // and take the command again
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_okCalls, 2);
    ASSERT_EQ(watcher.seen().size(), 2u);
    const SeenMessageBox& box = watcher.seen()[0];
    EXPECT_EQ(box.text, "Disk full while accessing C:\\Apps\\dummy.tmp.");
    EXPECT_EQ(box.caption, ProgramName().c_str());
    EXPECT_EQ(box.caption, "setup_dialog_tests");
    EXPECT_EQ(box.icon, "stop");
}

TEST(DialogFramework, ParentlessDialogIsOwnedByTheMainWindowAndCentredOverIt) {
    TestApp app;
    LiveDialog<CSetupDlg> main;
    app.m_pMainWnd = &main;
    main.body = [](LiveDialog<CSetupDlg>& m) {
        LiveDialog<CDialog> inner(IDD_NEWSLETTER);
        inner.body = [&](LiveDialog<CDialog>& d) {
            EXPECT_EQ(GetWindow(d.m_hWnd, GW_OWNER), m.m_hWnd);
            EXPECT_FALSE(IsWindowEnabled(m.m_hWnd)) << "the owner is disabled while the dialog runs";
            POINT a = Centre(d.m_hWnd), b = Centre(m.m_hWnd);
            EXPECT_NEAR(a.x, b.x, 1);
            EXPECT_NEAR(a.y, b.y, 1);
        };
        EXPECT_EQ(inner.DoModal(), IDCANCEL);
        EXPECT_TRUE(IsWindowEnabled(m.m_hWnd));
    };
    EXPECT_EQ(main.DoModal(), IDCANCEL);
}

TEST(DialogFramework, MainDialogHasNoOwnerAndOpensCentredOnTheScreen) {
    LiveDialog<CSetupDlg> main;
    main.body = [](LiveDialog<CSetupDlg>& m) {
        EXPECT_EQ(GetWindow(m.m_hWnd, GW_OWNER), nullptr);
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        POINT c = Centre(m.m_hWnd);
        EXPECT_NEAR(c.x, (work.left + work.right) / 2, 1);
        EXPECT_NEAR(c.y, (work.top + work.bottom) / 2, 1);
    };
    EXPECT_EQ(main.DoModal(), IDCANCEL);
}

}  // namespace
