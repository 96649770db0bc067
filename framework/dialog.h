// A modal dialog built from a template of the program's resources.
//
// Enter gives the default button's command and Esc or the close box give Cancel (the
// system's dialog manager). A dialog created without a parent is owned by the
// application's main window. A command handler that raises a failure has it shown in a
// stop-icon box, and the dialog stays open.
#pragma once
#include <windows.h>

#include "framework/data_exchange.h"
#include "framework/failure.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);

    // Shows the dialog and returns the result it ended with (IDOK, IDCANCEL), or -1
    // when it could not be created. Input given before it appeared is dropped.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    // Runs the data exchange; false when a control could not be read.
    bool UpdateData(bool saveAndValidate = true);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs the data exchange into the controls. The result is WM_INITDIALOG's.
    virtual BOOL OnInitDialog();
    // The accept command: reads the controls and ends the dialog with IDOK.
    virtual CFailure OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Any other command; `handled` stays false when the dialog does not know it.
    virtual CFailure OnCommand(int id, int code, bool& handled);
    // Any other message, before the system's default dialog handling. Set `handled`
    // and return the message's result to replace the default.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void RunCommand(int id, int code);
    void ReportFailure(const CFailure& failure);
    void CenterOverOwner();

    UINT m_templateId;
    HWND m_hParent;
};
