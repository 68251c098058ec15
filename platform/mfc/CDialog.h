#pragma once
// A dialog made from a template of the program, run modally.
#include <memory>
#include <vector>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/DialogHostClient.h"

class DialogHost;

class CDialog : public CWnd, private DialogHostClient {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and returns when it ends: the result given to EndDialog (IDOK, IDCANCEL),
    // or -1 when the dialog cannot be made (no template, no display).
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The dialog window's default handling: system commands, closing as cancelling, its icons.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Commands the dialog does not handle go on to the application.
    BOOL OnCmdMsg(UINT id, int code) override;

    UINT m_nIDHelp;  // the template's id

protected:
    virtual void OnOK();
    virtual void OnCancel();

    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    WNDPROC WindowProcedure() const override;
    void OnModalLoopStarted() override;

    std::unique_ptr<DialogHost> host_;
    std::vector<std::unique_ptr<CWnd>> controls_;  // one for each control window of the host
};
