#pragma once
// A window of the framework: the object behind an HWND, whose messages go through its message map.
#include "platform/mfc/CCmdTarget.h"

class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to the handle, or null.
    static CWnd* FromHandlePermanent(HWND window);
    void Attach(HWND window);
    void Detach();

    CWnd* GetDlgItem(int id) const;
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    CMenu* GetSystemMenu(BOOL revert) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Every message of the window: the message map first, the default handling otherwise.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: TRUE when a handler took the command.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Handlers with the system's own behaviour; a class's map may route to its own instead.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

protected:
    // The default handling of the message now being handled.
    LRESULT Default();

    DECLARE_MESSAGE_MAP()

private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    } current_;
};

// The window procedure of every framework window: hands the message to its CWnd.
LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
