#pragma once
// A dialog made from a template of the program, run modally.
#include <memory>

#include "platform/mfc/CWnd.h"

class DialogHost;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and returns when it ends: the result given to EndDialog (IDOK, IDCANCEL),
    // or -1 when the dialog cannot be made (no template, no display).
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Commands the dialog does not handle go on to the application.
    BOOL OnCmdMsg(UINT id, int code) override;

    UINT m_nIDHelp;  // the template's id

protected:
    virtual void OnOK();
    virtual void OnCancel();

    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<DialogHost> host_;
};
