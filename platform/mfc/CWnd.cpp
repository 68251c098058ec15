#include "platform/mfc/CWnd.h"

#include <map>
#include <mutex>

#include "platform/mfc/CMenu.h"

namespace {

std::map<HWND, CWnd*>& HandleMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    auto it = HandleMap().find(window);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND window)
{
    Detach();
    m_hWnd = window;
    if (window) {
        HandleMap()[window] = this;
    }
}

void CWnd::Detach()
{
    if (m_hWnd) {
        auto it = HandleMap().find(m_hWnd);
        if (it != HandleMap().end() && it->second == this) {
            HandleMap().erase(it);
        }
        m_hWnd = nullptr;
    }
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandlePermanent(::GetDlgItem(m_hWnd, id));
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(RECT* rect) const
{
    if (!::GetClientRect(m_hWnd, rect) && rect) {
        *rect = RECT{0, 0, 0, 0};
    }
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage saved = current_;
    current_ = {message, wParam, lParam};
    LRESULT result = 0;
    const AFX_MSGMAP_ENTRY* e = nullptr;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            result = DefWindowProc(message, wParam, lParam);
        }
    } else if ((e = FindMessageEntry(message, 0, 0)) != nullptr) {
        result = e->pfn(this, wParam, lParam);
    } else {
        result = DefWindowProc(message, wParam, lParam);
    }
    current_ = saved;
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(current_.message, current_.wParam, current_.lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}

LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* wnd = CWnd::FromHandlePermanent(window)) {
        return wnd->WindowProc(message, wParam, lParam);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
