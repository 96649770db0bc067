// The newsletter dialog: offers the product's newsletter after a successful install,
// takes the user's e-mail address and sends it.
#pragma once
#include <windows.h>

#include "framework/dialog.h"
#include "framework/text.h"

class CNewsletterDlg : public CDialog {
public:
    // Without a parent the dialog is owned by the application's main window.
    explicit CNewsletterDlg(HWND parent = nullptr);

    // The accept command (OK or Enter): tests the address, sends it and ends the dialog
    // with IDOK only when the server acknowledged it; IDCANCEL after a failed
    // transmission. An implausible address keeps the dialog open with the caret in the
    // field. A session that cannot be opened is raised and the dialog stays open. A
    // press that arrives while the request runs does nothing.
    CFailure OnSubscribe();

    // Plausible: at least one "@", at least one "." and no space (code 32), read
    // character by character in the ANSI code page. Nothing else is tested.
    static bool IsValidEmail(CText email);

    CText m_strEmail;  // edit IDC_EMAIL, empty when the dialog opens

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CFailure OnOK() override { return OnSubscribe(); }

private:
    void Warn(UINT textId, const char* caption);

    bool m_bSending = false;  // a subscription request is running
};
