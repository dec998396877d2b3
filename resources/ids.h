/* Resource ids and the window messages that several parts of the program share.
   Read by the resource compiler as well as by C++, so plain #defines only. */
#ifndef TELVARION_IDS_H
#define TELVARION_IDS_H

/* Dialog templates */
#define IDD_ABOUTBOX            100
#define IDD_TELVARION_DIALOG    102
#define IDD_ADVANCED            1243
#define IDD_UPDATE_SOFTWARE     1261

/* Program icon (panel, tray icon at start, about box) */
#define IDR_MAINFRAME           128

/* The tray menu; the tray icon carries the same id */
#define IDR_TRAYMENU            153

/* Menu item pictograms, 13x13 */
#define IDB_MENU_EXIT           154
#define IDB_MENU_UPDATE         155
#define IDB_MENU_HELP           157
#define IDB_MENU_ABOUT          158
#define IDB_MENU_HEART          1238
#define IDB_MENU_ADVANCED       1244

/* Panel controls */
#define IDC_SLIDER_SPEAKER      1059
#define IDC_SLIDER_MIC          1060
#define IDC_HIDDEN_BUTTON_RIGHT 1131
#define IDC_HIDDEN_BUTTON_LEFT  1132

/* About box controls */
#define IDC_ABOUT_VERSION       1163
#define IDC_ABOUT_COPYRIGHT     1164
#define IDC_ABOUT_DEVICE_NUMBER 1170
#define IDC_ABOUT_DEVICE_LABEL  1171

/* Options templates kept for the device library */
#define IDC_ADV_POPUP           1245
#define IDC_ADV_AUTOSTART       1246
#define IDC_ADV_RING            1247
#define IDC_ADV_CHANNEL_PSTN    1248
#define IDC_ADV_CHANNEL_USB     1249
#define IDC_ADV_BUSY            1250
#define IDC_UPD_TEXT            1262

/* Tray menu commands. Language items take 1..100 (their index + 1); 1..99 switch language. */
#define ID_APP_ABOUT            101
#define ID_TRAY_EXIT            32771
#define ID_TRAY_UPDATE          32773
#define ID_TRAY_CONFIGURE       32774
#define ID_TRAY_HELP            32775
#define ID_TRAY_ADVANCED        32777

/* Device library -> panel */
#define WM_DEVLIB_SKYPE_ONLINE    1041
#define WM_DEVLIB_SKYPE_OFFLINE   1042
#define WM_DEVLIB_DEVICE_ARRIVED  1043
#define WM_DEVLIB_DEVICE_REMOVED  1044
#define WM_DEVLIB_OFFHOOK         1045
#define WM_DEVLIB_ONHOOK          1046
/* Panel -> device library window */
#define WM_DEVLIB_POPUP_OPTIONS   1073
#define WM_DEVLIB_LANGUAGE_FILE   1074

/* Tray */
#define WM_TRAYICON_NOTIFY        2027
#define WM_TRAYICON_COMMAND       2028
#define TRAYCMD_MENU              9510

#endif
