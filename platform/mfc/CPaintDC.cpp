#include "platform/mfc/CPaintDC.h"

#include "platform/mfc/CWnd.h"
#include "platform/mfc/DialogHost.h"

CPaintDC::CPaintDC(CWnd* window)
{
    DialogHost* host = window ? DialogHost::FromWindow(window->m_hWnd) : nullptr;
    m_hDC = host ? host->PaintContext() : nullptr;
}
