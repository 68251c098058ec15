#include "config/SettingsDialog.h"

#include "config/AboutDialog.h"
#include "config/ConfigApp.h"
#include "config/Resource.h"

namespace {

ConfigApp* App()
{
    return static_cast<ConfigApp*>(AfxGetModuleState()->m_pCurrentWinApp);
}

}  // namespace

BEGIN_MESSAGE_MAP(SettingsDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_RADIO_WINDOW, &SettingsDialog::OnWindowMode)
    ON_BN_CLICKED(IDC_RADIO_FULLSCREEN, &SettingsDialog::OnFullScreenMode)
    ON_BN_CLICKED(IDC_CHECK_FOG, &SettingsDialog::OnFogClicked)
    ON_BN_CLICKED(IDC_CHECK_DEVICECHECK, &SettingsDialog::OnDeviceCheckClicked)
END_MESSAGE_MAP()

SettingsDialog::SettingsDialog(CWnd* parent) : CDialog(IDD_CONFIG_DIALOG, parent)
{
    icon_ = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::SetCheck(int id, bool checked)
{
    if (CWnd* item = GetDlgItem(id)) {
        SendMessageA(item->m_hWnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool SettingsDialog::IsChecked(int id)
{
    CWnd* item = GetDlgItem(id);
    return item && SendMessageA(item->m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

BOOL SettingsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    // What a second copy of the tool looks for.
    SetPropA(m_hWnd, "TamoConfigWindow", reinterpret_cast<HANDLE>(1));

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        CString aboutText;
        aboutText.LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SetIcon(icon_, TRUE);
    SetIcon(icon_, FALSE);

    ConfigApp* app = App();
    SetCheck(app->screenMode != 0 ? IDC_RADIO_FULLSCREEN : IDC_RADIO_WINDOW, true);
    SetCheck(IDC_CHECK_DEVICECHECK, app->deviceCheck);
    SetCheck(IDC_CHECK_FOG, app->fogEnabled);
    return TRUE;
}

void SettingsDialog::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
    } else {
        Default();
    }
}

void SettingsDialog::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        int iconWidth = GetSystemMetrics(SM_CXICON);
        int iconHeight = GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        int x = (rect.right - rect.left - iconWidth + 1) / 2;
        int y = (rect.bottom - rect.top - iconHeight + 1) / 2;
        dc.DrawIcon(x, y, icon_);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR SettingsDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(icon_);
}

void SettingsDialog::OnWindowMode()
{
    App()->screenMode = 0;
}

void SettingsDialog::OnFullScreenMode()
{
    App()->screenMode = 1;
}

void SettingsDialog::OnFogClicked()
{
    App()->fogEnabled = IsChecked(IDC_CHECK_FOG);
}

void SettingsDialog::OnDeviceCheckClicked()
{
    App()->deviceCheck = IsChecked(IDC_CHECK_DEVICECHECK);
}
