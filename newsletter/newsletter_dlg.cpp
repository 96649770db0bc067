#include "newsletter/newsletter_dlg.h"

#include "framework/string_table.h"
#include "framework/message_box.h"
#include "newsletter/subscription.h"
#include "resources/resource.h"

CNewsletterDlg::CNewsletterDlg(HWND parent) : CDialog(IDD_NEWSLETTER, parent) {}

void CNewsletterDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_EMAIL, m_strEmail); }

bool CNewsletterDlg::IsValidEmail(CText email) {
    bool at = false;
    bool dot = false;
    for (const char* p = email.c_str(); *p; p = CharNextA(p)) {
        if (*p == ' ') return false;
        at = at || *p == '@';
        dot = dot || *p == '.';
    }
    return at && dot;
}

CFailure CNewsletterDlg::OnSubscribe() {
    if (m_bSending) return CFailure();  // the request of an earlier press is still running
    if (!UpdateData(true)) return CFailure();  // the field could not be read: nothing to test
    const CText caption = LoadText(IDS_CAPTION);
    if (!IsValidEmail(m_strEmail)) {
        Warn(IDS_EMAIL_INVALID, caption);
        ::SetFocus(GetDlgItem(IDC_EMAIL));  // the text stays as typed, ready to be corrected
        return CFailure();
    }
    bool acknowledged = false;
    m_bSending = true;
    CFailure failure = SendSubscription(m_strEmail, &acknowledged);
    m_bSending = false;
    if (failure) return failure;
    if (!acknowledged) Warn(IDS_SUBSCRIPTION_FAILED, caption);
    EndDialog(acknowledged ? IDOK : IDCANCEL);
    return CFailure();
}

void CNewsletterDlg::Warn(UINT textId, const char* caption) {
    ShowMessage(m_hWnd, LoadText(textId), MB_OK | MB_ICONEXCLAMATION, caption);
}
