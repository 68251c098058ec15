#include "config/AboutDialog.h"

#include "config/Resource.h"

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
END_MESSAGE_MAP()

AboutDialog::AboutDialog() : CDialog(IDD_ABOUTBOX)
{
}
