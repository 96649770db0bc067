// The main setup dialog, live on the test thread.
#include <gtest/gtest.h>

#include <vector>

#include "app/setup_dlg.h"
#include "live_dialog.h"

namespace {

using LiveSetupDlg = LiveDialog<CSetupDlg>;

// Records every position the dialog sets on its progress bar.
std::vector<int> g_positions;
WNDPROC g_progressProc = nullptr;
LRESULT CALLBACK RecordPositions(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == PBM_SETPOS) g_positions.push_back(static_cast<int>(wp));
    return CallWindowProcA(g_progressProc, hwnd, msg, wp, lp);
}
void WatchProgress(CSetupDlg& dlg) {
    g_positions.clear();
    g_progressProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        dlg.m_progress.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPositions)));
}
std::vector<int> Range(int from, int to) {  // from .. to - 1
    std::vector<int> r;
    for (int i = from; i < to; ++i) r.push_back(i);
    return r;
}

void RunLive(LiveSetupDlg& dlg, std::function<void(LiveSetupDlg&)> body) {
    dlg.body = std::move(body);
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(SetupDialog, OpensWithDefaultsFocusAndIcon) {
    LiveSetupDlg dlg;
    const std::string proposed = dlg.m_strInstallDir.c_str();
    RunLive(dlg, [&](LiveSetupDlg& d) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(d.m_hWnd, IDC_INSTALL_DIR, text, MAX_PATH);
        EXPECT_EQ(text, proposed);
        EXPECT_EQ(IsDlgButtonChecked(d.m_hWnd, IDC_CREATE_SHORTCUTS), BST_CHECKED);
        EXPECT_EQ(GetFocus(), GetDlgItem(d.m_hWnd, IDOK));
        EXPECT_EQ(SendMessageA(d.m_hWnd, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        EXPECT_EQ(d.m_progress.m_hWnd, GetDlgItem(d.m_hWnd, IDC_PROGRESS));
        EXPECT_EQ(SendMessageA(d.m_progress.m_hWnd, PBM_GETRANGE, TRUE, 0), 0);
        EXPECT_EQ(SendMessageA(d.m_progress.m_hWnd, PBM_GETRANGE, FALSE, 0), 100);
        EXPECT_EQ(d.m_progress.GetPos(), 0);
        EXPECT_EQ(d.m_nProgress, 0);
        ASSERT_NE(d.m_hIcon, nullptr);
        EXPECT_EQ(SendMessageA(d.m_hWnd, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(d.m_hIcon));
        EXPECT_EQ(SendMessageA(d.m_hWnd, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(d.m_hIcon));
        EXPECT_EQ(SendMessageA(d.m_hWnd, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(d.m_hIcon));
    });
}

TEST(SetupDialog, DataExchangeReadsTheControlsUnchanged) {
    LiveSetupDlg dlg;
    RunLive(dlg, [](LiveSetupDlg& d) {
        SetDlgItemTextA(d.m_hWnd, IDC_INSTALL_DIR, "  relative\\dir\\\\");
        CheckDlgButton(d.m_hWnd, IDC_CREATE_SHORTCUTS, BST_UNCHECKED);
        ASSERT_TRUE(d.UpdateData(true));
        EXPECT_STREQ(d.m_strInstallDir, "  relative\\dir\\\\");
        EXPECT_EQ(d.m_bCreateShortcuts, 0);
    });
}

TEST(SetupDialog, AdvanceProgressStopsOneBelowEachTarget) {
    LiveSetupDlg dlg;
    RunLive(dlg, [](LiveSetupDlg& d) {
        WatchProgress(d);
        d.AdvanceProgress(10);
        EXPECT_EQ(g_positions, Range(0, 10));
        EXPECT_EQ(d.m_nProgress, 10);
        EXPECT_EQ(d.m_progress.GetPos(), 9);

        g_positions.clear();
        d.AdvanceProgress(10);
        EXPECT_TRUE(g_positions.empty());
        d.AdvanceProgress(5);  // going back sets nothing but is remembered
        EXPECT_TRUE(g_positions.empty());
        EXPECT_EQ(d.m_nProgress, 5);
        d.AdvanceProgress(10);
        EXPECT_EQ(g_positions, Range(5, 10));
        EXPECT_EQ(d.m_progress.GetPos(), 9);
    });
}

TEST(SetupDialog, TheInstallMarksSweepTheBarOncePausingEachStep) {
    LiveSetupDlg dlg;
    RunLive(dlg, [](LiveSetupDlg& d) {
        WatchProgress(d);
        DWORD start = GetTickCount();
        for (int mark : {10, 20, 50, 60, 90, 100}) d.AdvanceProgress(mark);
        DWORD elapsed = GetTickCount() - start;
        EXPECT_EQ(g_positions, Range(0, 100));
        EXPECT_EQ(d.m_progress.GetPos(), 99);
        EXPECT_EQ(d.m_nProgress, 100);
        EXPECT_GE(elapsed, 100u * 10u - 20u) << "each step pauses 10 ms";  // tick granularity
    });
}

TEST(SetupDialog, MinimisedWindowPaintsItsIconWithoutDisturbingTheDialog) {
    LiveSetupDlg dlg;
    RunLive(dlg, [](LiveSetupDlg& d) {
        ShowWindow(d.m_hWnd, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(d.m_hWnd));
        InvalidateRect(d.m_hWnd, nullptr, TRUE);
        UpdateWindow(d.m_hWnd);  // paints through the minimised path
        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_FALSE(IsIconic(d.m_hWnd));
        EXPECT_TRUE(IsWindow(d.m_hWnd));
    });
}

}  // namespace
