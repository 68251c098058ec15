#include "platform/mfc/CDialog.h"

#include "platform/mfc/AfxModuleState.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/DialogHost.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent)
{
}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDHelp);
    if (!dialogTemplate || host_ || !DialogHost::EnsureToolkit()) {
        return -1;
    }
    // Without a parent, the application's main window (when it is another one) owns the dialog.
    CWnd* owner = m_pParentWnd;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd != this) {
        owner = AfxGetApp()->m_pMainWnd;
    }
    DialogHost* ownerHost = owner ? DialogHost::FromWindow(owner->m_hWnd) : nullptr;
    host_ = std::make_unique<DialogHost>(*this, *dialogTemplate, ownerHost ? ownerHost->Toplevel() : nullptr);
    Attach(host_->Window());
    if (SendMessage(WM_INITDIALOG, 0, 0)) {
        host_->FocusFirstTabStop();
    }
    int result = host_->RunModal();
    host_.reset();
    Detach();
    return result;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    if (host_) {
        host_->End(result);
    }
}

BOOL CDialog::OnCmdMsg(UINT id, int code)
{
    if (CWnd::OnCmdMsg(id, code)) {
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(id, code) : FALSE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
