// Resource identifiers of Brennix Configurator 32: every dialog, control,
// string, menu command and icon, in one place. Included by the resource
// script and by the code; it holds nothing but numbers, so the window-free
// core may include it too.
#pragma once

// ---------------------------------------------------------------------------
// Menu, accelerators, icons
// ---------------------------------------------------------------------------
#define IDR_MAINMENU            100   // menu 100
#define IDR_ACCEL               100   // accelerator table 100

#define IDI_MAIN                103   // main window class icon
#define IDI_ABOUT1              114   // About icon cycle: 114, 118, 120, 119
#define IDI_ABOUT2              118
#define IDI_ABOUT4              119
#define IDI_ABOUT3              120
#define IDI_SOS                 124   // Define SOS Hotkeys picture

// Main window commands
#define IDM_EXIT                1
#define IDM_ABOUT               101
#define IDM_CLIENT              102
#define IDM_OPTIONS             103   // no menu item; carried out when received
#define IDM_CONTROL             104
#define IDM_HELP                400

// Private window messages
#define WMU_START_CONVERSATION  1025  // WM_USER+1: start a DDE conversation
#define WMU_ITEMS_LOADED        1124  // WM_USER+100: a Program Manager conversation has ended
#define WMU_REPEAT_HANDOVER     1124  // the same number: a repeat button takes its former procedure
#define WMU_HELP_REQUEST        1280  // WM_USER+256: F1 inside a dialog

// Help contexts
#define HELP_MAIN               12000
#define HELP_CLIENT             12100
#define HELP_ICON_MAINTENANCE   12110
#define HELP_CONTROL            12200
#define HELP_CREATE_ICON        12210
#define HELP_DIALBACK_FILE      12300
#define HELP_DIALBACK_ENTRY     12310
#define HELP_ADVANCED           12400
#define HELP_SOS                12410
#define HELP_TRANSPORTS         12420

// Dialog templates
#define IDD_CLIENT              101
#define IDD_ABOUT               102
#define IDD_CREATE_ICON         104
#define IDD_OPTIONS             105
#define IDD_DIALBACK_FILE       106
#define IDD_DIALBACK_ENTRY      107
#define IDD_SET_PASSWORD        108
#define IDD_SET_KEY             109
#define IDD_ADVANCED            110
#define IDD_ENTER_DIRECTORY     111
#define IDD_SAVE_DIALBACK       117
#define IDD_ICON_MAINTENANCE    122
#define IDD_SOS                 123
#define IDD_CONTROL             200
#define IDD_TRANSPORTS          1101
#define IDD_CONTROL_CLASSROOM   2000
#define IDD_CLIENT_CLASSROOM    2100

// Common buttons (beside IDOK and IDCANCEL)
#define IDC_HELPBUTTON          3

// ---------------------------------------------------------------------------
// About (102)
// ---------------------------------------------------------------------------
#define IDC_ABOUT_EDITION       1040  // "%s Configurator"
#define IDC_ABOUT_VERSION       1060  // "Version %s"
#define IDC_ABOUT_ICON          1059

// ---------------------------------------------------------------------------
// Options (105) and Enter Directory (111)
// ---------------------------------------------------------------------------
#define IDC_OPTIONS_LABEL       1040  // "%s Directory"
#define IDC_DIRECTORY           1039
#define IDC_ENTERDIR_MESSAGE    1057
#define IDC_ENTERDIR_ICON       1058

// Enter Directory init parameters: first message << 16 | second message
#define ENTERDIR_CLIENT         ((IDS_NOT_FOUND << 16) | IDS_NOT_CHANGED)
#define ENTERDIR_CONTROL        ((IDS_NO_VIEWDESK << 16) | IDS_NO_VIEWDESK_ICON)

// ---------------------------------------------------------------------------
// Client Configuration (101, classroom 2100)
// ---------------------------------------------------------------------------
#define IDC_CL_ADAPTER_LABEL    1001
#define IDC_CL_ADAPTER          1002
#define IDC_CL_CACHE            1007  // classroom template only
#define IDC_CL_COMMAND_LINE     1011
#define IDC_CL_TRANSPORT        1014
#define IDC_CL_BRIDGE           1024
#define IDC_CL_NAME             1025
#define IDC_CL_TIMEOUT          1035
#define IDC_CL_LOGFILE          1036
#define IDC_CL_BRIDGE_TIMEOUT   1037
#define IDC_CL_EDIT_DIALBACK    1043
#define IDC_CL_DIALBACK_FILE    1044
#define IDC_CL_SET_PASSWORD     1050
#define IDC_CL_PASSWORD         1051
#define IDC_CL_BRIDGE_PASSWORD  1052
#define IDC_CL_ADVANCED         1054
#define IDC_CL_SET_BRIDGE_PW    1055
#define IDC_CL_BRIDGE_PW_LABEL  1056
#define IDC_CL_USE_DIALBACK     1061
#define IDC_CL_MACHINE_NOTE     1076
#define IDC_CL_OPTIONS          1077
#define IDC_CL_BRIDGE_TO_LABEL  1079
#define IDC_CL_BRIDGE_TO_UNIT   1080
#define IDC_CL_PUBLIC_LABEL     1083
#define IDC_CL_PUBLIC_PASSWORD  1084
#define IDC_CL_SET_PUBLIC       1085
#define IDC_CL_LOGFILE_LABEL    1086
#define IDC_CL_START_UNLOADED   1093
#define IDC_CL_SOS              1094
#define IDC_TEST_NETWORK        1100
#define IDC_CL_SERIAL_LINK      300
#define IDC_CL_MODEM_RADIO      301
#define IDC_CL_MODEM            302
#define IDC_CL_BAUD_LABEL       303
#define IDC_CL_BAUD             304
#define IDC_CL_PORT_LABEL       305
#define IDC_CL_PORT             306
// Option list boxes: row n is control 2000+n
#define IDC_OPTION_FIRST        2000
#define IDC_OPTION_LAST         2010

// ---------------------------------------------------------------------------
// Set Password (108), Set Security Key (109)
// ---------------------------------------------------------------------------
#define IDC_SET_TEXT            1051

// ---------------------------------------------------------------------------
// Advanced Client Options (110)
// ---------------------------------------------------------------------------
#define IDC_ADV_CACHE           1007
#define IDC_ADV_SET_KEY         1050
#define IDC_ADV_SECURITY_KEY    1051
#define IDC_ADV_MODEM_DEBUG     1055
#define IDC_ADV_STATUS          1072
#define IDC_ADV_VIDEO_MODE      1081
#define IDC_ADV_VIDEO_LABEL     1088

// ---------------------------------------------------------------------------
// Define SOS Hotkeys (123)
// ---------------------------------------------------------------------------
#define IDC_SOS_LEFT_SHIFT      1095  // stored under RShift
#define IDC_SOS_RIGHT_SHIFT     1096  // stored under LShift
#define IDC_SOS_CTRL            1097
#define IDC_SOS_ALT             1098
#define IDC_SOS_DISABLE         1099

// ---------------------------------------------------------------------------
// Dialback editor: Edit Dialback File (106), Dialback Entry (107),
// Save Dialback File (117)
// ---------------------------------------------------------------------------
#define IDC_DB_LIST             1045
#define IDC_DB_ADD              1046
#define IDC_DB_EDIT             1047
#define IDC_DB_DELETE           1048
#define IDC_DBE_DELAY           1049
#define IDC_DBE_SET             1050
#define IDC_DBE_CODE            1051
#define IDC_DBE_PHONE           1052
#define IDC_SAVE_FILENAME       1005

// ---------------------------------------------------------------------------
// Transports available (1101)
// ---------------------------------------------------------------------------
#define IDC_TR_IPX_STATUS       1102
#define IDC_TR_NETBIOS_STATUS   1103
#define IDC_TR_TCPIP_STATUS     1104

// ---------------------------------------------------------------------------
// Control Configuration (200, classroom 2000)
// ---------------------------------------------------------------------------
#define IDC_CT_REMOTE           104
#define IDC_CT_NAME             105
#define IDC_CT_SERIAL_LINK      300
#define IDC_CT_DIAL_LABEL       307
#define IDC_CT_DIAL             308
#define IDC_CT_ADAPTER_LABEL    1001
#define IDC_CT_ADAPTER          1002
#define IDC_CT_MESSAGE_FILE     1005
#define IDC_CT_CONNECT_TO       1006
#define IDC_CT_CACHE            1007
#define IDC_CT_MAX_CLIENTS      1008
#define IDC_CT_COMMAND_LINE     1011
#define IDC_CT_TRANSPORT        1014
#define IDC_CT_MESSAGE_LABEL    1015
#define IDC_CT_WARNING          1021
#define IDC_CT_MACHINE_NOTE     1076
#define IDC_CT_NO_TICKLE        1078
#define IDC_CT_COLOUR_DEPTH     1082
#define IDC_CT_LOCAL_BROADCASTS 1111

// ---------------------------------------------------------------------------
// Create Program Icon (104)
// ---------------------------------------------------------------------------
#define IDC_CI_DESCRIPTION      1022
#define IDC_CI_GROUPS           1023
#define IDC_CI_ICON_FILE        1024
#define IDC_CI_DIRECTORY        1025
#define IDC_CI_DUMMY            1026
#define IDC_CI_ICON             1059
#define IDC_CI_BROWSE           1064
#define IDC_CI_PREVIOUS         1065
#define IDC_CI_NEXT             1066
#define IDC_CI_COUNTER          1073
// Controls of the platform's Open File dialog read by the Browse hook
#define IDC_OFN_DIRECTORY       1088
#define IDC_OFN_FILE_NAME       1152

// ---------------------------------------------------------------------------
// Control Icon Maintenance (122)
// ---------------------------------------------------------------------------
#define IDC_IM_COMMAND_LINE     1011
#define IDC_IM_DELETE           1048
#define IDC_IM_GROUPS           1062
#define IDC_IM_ICONS            1063
#define IDC_IM_NEW              1070
#define IDC_IM_EDIT             1     // "&Edit" is the default button

// ---------------------------------------------------------------------------
// String table
// ---------------------------------------------------------------------------
#define IDS_COM1                4     // 4..7 "COM1".."COM4"
#define IDS_COM4                7
#define IDS_BAUD_FIRST          8     // 8..16 "1200".."115200"
#define IDS_BAUD_LAST           16
#define IDS_PM_LIMIT_WARNING    19
#define IDS_CONFIGURATOR        20    // "Configurator " (registry caption, banner)
#define IDS_NOTICE              21
#define IDS_ADD                 22
#define IDS_EDIT                23
#define IDS_INFORMATION         26
#define IDS_DELETE_DIALBACK     27
#define IDS_WARNING             28
#define IDS_ERROR               29
#define IDS_CHANGED             30
#define IDS_NO_GROUPS           31
#define IDS_NO_ICONS            33
#define IDS_NOT_CHANGED         34
#define IDS_NOT_FOUND           35
#define IDS_ENTER_DIRECTORY     36
#define IDS_NO_VIEWDESK_ICON    37
#define IDS_NO_VIEWDESK         38
#define IDS_DELETE_ICON         40
#define IDS_NOT_SET             41
#define IDS_NO_ICONS_IN_FILE    45
#define IDS_REG_OPEN_READ       46
#define IDS_REG_OPEN_WRITE      47
#define IDS_REG_READ            48
#define IDS_REG_WRITE           49
#define IDS_NOT_NUMERIC         50
#define IDS_RESTART             52
#define IDS_CLIENT_NOT_INSTALLED 58
// Messages of our own, in the style of the table
#define IDS_CACHE_RANGE         60
#define IDS_COMMAND_TOO_LONG    61
#define IDS_PM_NO_ANSWER        62
#define IDS_PATH_HAS_SPACE      64

#define IDS_IPX                 100   // transport ids are their name strings
#define IDS_NETBIOS             101
#define IDS_TCPIP               102
#define IDS_STANDALONE          103

#define IDS_OPTION_FIRST        1000  // 1000+n: label of option row n
#define IDS_LOGOFF_ON_DISCONNECT 1098 // row 4's label (1004 unused)
#define IDS_DEPTH_UNLIMITED     1089
#define IDS_DEPTH_MONO          1090
#define IDS_DEPTH_16            1091
#define IDS_DEPTH_256           1092
#define IDS_STACK_FOUND         1105
#define IDS_STACK_NOT_FOUND     1106
#define IDS_MODULE_INSTALLED    1108
#define IDS_MODULE_NOT_INSTALLED 1109
#define IDS_CLIENT_TRANSPORTS   1112
#define IDS_CONTROL_TRANSPORTS  1113
#define IDS_NETBEUI             1114
#define IDS_TCPIP_NETBIOS       1115
#define IDS_IPX_NETBIOS         1116
#define IDS_DECNET_TYPE2        1117
#define IDS_DECNET_TYPEFE       1118
#define IDS_DIALUP              1119
#define IDS_UNKNOWN_NETBIOS     1120
#define IDS_ADAPTER_NOT_FOUND   1121
