#pragma once
// The settings dialog: screen mode, detailed device check and fog.
#include "platform/mfc/Afx.h"

class SettingsDialog : public CDialog {
public:
    explicit SettingsDialog(CWnd* parent = nullptr);
    ~SettingsDialog() override;

protected:
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnWindowMode();
    void OnFullScreenMode();
    void OnFogClicked();
    void OnDeviceCheckClicked();

    HICON icon_;

    DECLARE_MESSAGE_MAP()

private:
    void SetCheck(int id, bool checked);
    bool IsChecked(int id);
};
