// Identifiers shared by the resource script and the code; one range per kind.
#pragma once

// Icons and bitmaps: 100-199
#define IDI_QUILLET 100
#define IDI_ENTRY 101
#define IDI_ENTRY_BAD 102
#define IDI_LOG_INFO 103
#define IDI_LOG_ERROR 104
#define IDI_TRAY 105
#define IDB_TOOLBAR_INACTIVE 110
#define IDB_TOOLBAR_ACTIVE 111
#define IDR_ABOUTPICTURE 112
#define IDB_TRAYFRAMES 113

// Menus, accelerator tables and dialogs: 200-299
#define IDR_MAINMENU 200
#define IDR_ACCELERATORS 201
#define IDR_BASEMENU 202
#define IDR_LOGMENU 203
#define IDR_VIEWSMENU 204
#define IDR_TOOLBARMENU 205
#define IDD_EDITLOG 210
#define IDD_PROPERTIES 211
#define IDD_FIND 212
#define IDD_SEARCHRESULT 213

// Commands: 1000-1999
#define IDM_ADDREMOVE 1000
#define IDM_DELETE 1001
#define IDM_PROPERTIES 1002
#define IDM_NEW 1003
#define IDM_DELETEBAD 1004
#define IDM_BACKUP 1005
#define IDM_EXIT 1006
#define IDM_EXPORT 1007
#define IDM_FIND 1010
#define IDM_EDITLOG 1011
#define IDM_CLEARLOG 1012
#define IDM_UNDO 1013
#define IDM_TOOLBAR 1020
#define IDM_LOG 1021
#define IDM_STATUSBAR 1022
#define IDM_TEXTLABELS 1023
#define IDM_LARGEICONS 1024
#define IDM_SMALLICONS 1025
#define IDM_LIST 1026
#define IDM_DETAILS 1027
#define IDM_SORTNAME 1030
#define IDM_SORTCOMMAND 1031
#define IDM_SORTSUBKEY 1032
#define IDM_REVERSED 1033
#define IDM_REFRESH 1040
#define IDM_VIEWS 1041
#define IDM_ABOUT 1050
#define IDM_TRAYUNINSTALL 1060
#define IDM_TRAYEXIT 1061
// The tray's "Uninstall" submenu: one command per row from here on.
#define IDM_TRAYITEM_FIRST 20000

// Hints are strings numbered as their command or control; others: 4000-4099
#define IDS_SORTBY 4000

// Child controls: 3000-3999
#define IDC_TOOLBAR 3000
#define IDC_STATUSTEXT 3001
#define IDC_PROGRAMS 3002
#define IDC_LOG 3003
#define IDC_STATUSBAR 3004
#define IDC_PAGES 3100
#define IDC_TIME 3101
#define IDC_MSG 3102
#define IDC_COMMENT 3103
#define IDC_TIMELABEL 3104
#define IDC_MSGLABEL 3105
#define IDC_COMMENTLABEL 3106
// The properties dialog: 3110-3119
#define IDC_PROP_PAGES 3110
#define IDC_PROP_NAMELABEL 3111
#define IDC_PROP_DISPLAY 3112
#define IDC_PROP_COMMANDLABEL 3113
#define IDC_PROP_UNINSTALL 3114
#define IDC_PROP_BROWSE 3115
#define IDC_PROP_REASON 3116
// The Find and Search result dialogs: 3130-3149
#define IDC_SEARCHTYPE 3130
#define IDC_SEARCHSHORTCUTS 3131
#define IDC_SEARCHLOG 3132
#define IDC_FINDEDIT 3133
#define IDC_RESULTLIST 3140
#define IDC_RESULTCANCEL 3141
