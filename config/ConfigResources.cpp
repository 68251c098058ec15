#include "config/ConfigResources.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "config/Resource.h"
#include "platform/mfc/AfxIcon.h"
#include "platform/mfc/DialogTemplate.h"
#include "platform/win32/Win32Resources.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTemplate SettingsTemplate()
{
    using K = DialogItemKind;
    return DialogTemplate{
        IDD_CONFIG_DIALOG,
        "Config",
        kDialogStyle | WS_VISIBLE,
        WS_EX_APPWINDOW,
        151,
        163,
        "MS UI Gothic",
        9,
        {
            {K::GroupBox, -1, 7, 7, 137, 35, "起動スクリーン設定", 0, 0},
            {K::AutoRadioButton, IDC_RADIO_WINDOW, 20, 22, 41, 10, "ウィンドウ", WS_GROUP, 0},
            {K::AutoRadioButton, IDC_RADIO_FULLSCREEN, 82, 22, 51, 10, "フルスクリーン", 0, 0},
            {K::GroupBox, -1, 7, 49, 137, 35, "デバイスチェック設定", 0, 0},
            {K::AutoCheckBox, IDC_CHECK_DEVICECHECK, 20, 62, 94, 10, "デバイス詳細チェック(非推奨)", WS_TABSTOP, 0},
            {K::GroupBox, -1, 7, 91, 137, 35, "フォグの有無", 0, 0},
            {K::AutoCheckBox, IDC_CHECK_FOG, 20, 105, 30, 10, "フォグ", WS_TABSTOP, 0},
            {K::DefPushButton, IDOK, 38, 140, 50, 16, "OK", WS_TABSTOP, 0},
            {K::PushButton, IDCANCEL, 93, 140, 50, 16, "キャンセル", WS_TABSTOP, 0},
        },
    };
}

DialogTemplate AboutTemplate()
{
    using K = DialogItemKind;
    return DialogTemplate{
        IDD_ABOUTBOX,
        "バージョン情報 Config",
        kDialogStyle,
        0,
        235,
        55,
        "MS UI Gothic",
        9,
        {
            {K::Icon, -1, 11, 17, 20, 20, "", 0, static_cast<WORD>(IDR_MAINFRAME)},
            {K::Text, -1, 40, 10, 119, 8, "Config Version 1.0", 0, 0},
            {K::Text, -1, 40, 25, 119, 8, "Pellmoor の起動設定ツール", 0, 0},
            {K::DefPushButton, IDOK, 178, 7, 50, 16, "OK", WS_GROUP | WS_TABSTOP, 0},
        },
    };
}

// The tool's icon, 32 x 32: a rounded blue tile with two switch levers, one on, one off.
HICON MakeIcon()
{
    constexpr int size = 32;
    std::array<std::uint32_t, size * size> pixels{};
    auto inRoundRect = [](double x, double y, double x0, double y0, double x1, double y1, double r) {
        double cx = std::clamp(x, x0 + r, x1 - r);
        double cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double px = x + 0.5, py = y + 0.5;
            std::uint32_t c = 0;
            if (inRoundRect(px, py, 1, 1, 31, 31, 6)) {
                c = 0xFF2A5DB0u;  // tile
                bool upperTrack = inRoundRect(px, py, 6, 7, 26, 15, 4);
                bool lowerTrack = inRoundRect(px, py, 6, 18, 26, 26, 4);
                if (upperTrack) {
                    c = 0xFF7FD16Bu;  // on: green track, knob right
                }
                if (lowerTrack) {
                    c = 0xFF9AA6B8u;  // off: grey track, knob left
                }
                double dxOn = px - 22, dyOn = py - 11, dxOff = px - 10, dyOff = py - 22;
                if (dxOn * dxOn + dyOn * dyOn <= 12.0 || dxOff * dxOff + dyOff * dyOff <= 12.0) {
                    c = 0xFFFFFFFFu;
                }
            }
            pixels[static_cast<std::size_t>(y * size + x)] = c;
        }
    }
    return AfxCreateIcon(size, size, pixels.data());
}

}  // namespace

void RegisterConfigResources()
{
    static const bool registered = [] {
        static const Win32StringResource strings[] = {
            {IDS_ABOUTBOX, "バージョン情報 Config(&A)..."},
        };
        Win32RegisterStringTable(strings, 1);
        AfxRegisterDialogTemplate(SettingsTemplate());
        AfxRegisterDialogTemplate(AboutTemplate());
        Win32RegisterIcon(static_cast<WORD>(IDR_MAINFRAME), MakeIcon());
        return true;
    }();
    (void)registered;
}
