// Identifiers of the association dialog: its resource, its controls and its
// system menu commands, shared by the resource script and the dialog code.
#ifndef QUORZEL_ASSOCIATION_ASSOCDIALOG_IDS_H
#define QUORZEL_ASSOCIATION_ASSOCDIALOG_IDS_H

#define IDD_ASSOCIATION 120

// The ".cur" row.
#define IDC_CUR_CHECK 1100
#define IDC_CUR_GROUPBOX 1101
#define IDC_CUR_LOCATION 1102
#define IDC_CUR_MENU 1103
#define IDC_CUR_COMMAND 1104
#define IDC_CUR_DETAILS 1106
#define IDC_CUR_LOCATION_LABEL 1122
#define IDC_CUR_MENU_LABEL 1123
#define IDC_CUR_COMMAND_LABEL 1124

// The ".ico" row.
#define IDC_ICO_CHECK 1200
#define IDC_ICO_GROUPBOX 1201
#define IDC_ICO_LOCATION 1202
#define IDC_ICO_MENU 1203
#define IDC_ICO_COMMAND 1204
#define IDC_ICO_DETAILS 1206
#define IDC_ICO_LOCATION_LABEL 1222
#define IDC_ICO_MENU_LABEL 1223
#define IDC_ICO_COMMAND_LABEL 1224

// Commands added to the system menu.
#define IDM_RESTORE_SETTINGS 40005
#define IDM_ABOUT 40006

#endif
