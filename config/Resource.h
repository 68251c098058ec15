#pragma once
// Resource and command ids of the configuration tool.

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned IDD_CONFIG_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 128;

constexpr int IDC_RADIO_WINDOW = 1000;
constexpr int IDC_RADIO_FULLSCREEN = 1001;
constexpr int IDC_CHECK_FOG = 1004;
constexpr int IDC_CHECK_DEVICECHECK = 1005;

// The about item of the system menu; the system keeps the low four bits of a command.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
