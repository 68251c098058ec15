#include "platform/mfc/CDialog.h"

#include "platform/mfc/AfxModuleState.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/DialogHost.h"
#include "platform/mfc/MfcTestHooks.h"

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
    DialogHostClient& client = *this;
    host_ = std::make_unique<DialogHost>(client, *dialogTemplate, ownerHost ? ownerHost->Toplevel() : nullptr);
    Attach(host_->Window());
    for (HWND control : host_->ControlWindows()) {
        controls_.push_back(std::make_unique<CWnd>());
        controls_.back()->Attach(control);
    }
    if (SendMessage(WM_INITDIALOG, 0, 0)) {
        host_->FocusFirstTabStop();
    }
    int result = host_->RunModal();
    controls_.clear();  // before the host destroys their windows
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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // By the window, not host_: the host is still known while it destroys the window.
    if (DialogHost* host = DialogHost::FromWindow(m_hWnd)) {
        return host->DefaultMessage(message, wParam, lParam);
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

WNDPROC CDialog::WindowProcedure() const
{
    return AfxWndProc;
}

void CDialog::OnModalLoopStarted()
{
    mfc::RunModalHook(*this);
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
