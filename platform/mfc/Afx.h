#pragma once
// The application-and-dialog framework for dialog programs, over GTK 3.
#include "platform/mfc/AfxModuleState.h"
#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CMenu.h"
#include "platform/mfc/CPaintDC.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/CWnd.h"
#include "platform/mfc/DialogTemplate.h"
#include "platform/mfc/MessageMap.h"
#include "platform/mfc/MfcWin32.h"
