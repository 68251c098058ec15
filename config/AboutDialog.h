#pragma once
// The about box: the tool's name and version.
#include "platform/mfc/Afx.h"

class AboutDialog : public CDialog {
public:
    AboutDialog();

    DECLARE_MESSAGE_MAP()
};
