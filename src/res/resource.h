// Every resource and control ID of the program.
#pragma once

// Dialog templates
#define IDD_ABOUT 100
#define IDD_PANEL 102

// Strings
#define IDS_ABOUT 101
#define AFX_IDS_APP_TITLE 0xE000  // the application's title, which its message boxes carry
#define IDS_HELP 0xE146        // text the framework's help command shows (same number as ID_HELP)

// Icons and bitmaps
#define IDI_APP 128
#define IDB_LAMP_ON 129
#define IDB_LAMP_OFF 130
#define IDB_BUTTON_SET 131
#define IDB_BUTTON_CLEAR 132

// System-menu command of the about entry
#define IDM_ABOUT 0x0010

// Panel controls
#define IDC_DATA_BIT0 1012
#define IDC_DATA_BIT1 1013
#define IDC_DATA_BIT2 1014
#define IDC_DATA_BIT3 1015
#define IDC_DATA_BIT4 1016
#define IDC_DATA_BIT5 1017
#define IDC_DATA_BIT6 1018
#define IDC_DATA_BIT7 1019
#define IDC_SET_DATA 1021
#define IDC_DATA_LAMP7 1022
#define IDC_DATA_LAMP6 1023
#define IDC_DATA_LAMP5 1024
#define IDC_DATA_LAMP4 1025
#define IDC_DATA_LAMP3 1026
#define IDC_DATA_LAMP2 1027
#define IDC_DATA_LAMP1 1028
#define IDC_DATA_LAMP0 1029
#define IDC_LAMP_BUSY 1030
#define IDC_LAMP_ACK 1031
#define IDC_CONT_DATA 1032
#define IDC_DATA_VALUE 1033
#define IDC_LAMP_PEND 1034
#define IDC_LAMP_SELECT 1035
#define IDC_LAMP_ERROR 1036
#define IDC_LAMP_TRISTATE 1037
#define IDC_LAMP_INPUT 1038
#define IDC_LAMP_INIT 1039
#define IDC_LAMP_AUTO 1040
#define IDC_LAMP_STROBE 1041
#define IDC_SET_CTRL 1042
#define IDC_CONT_CTRL 1043
#define IDC_BASE_ADDR 1046
#define IDC_CTRL_STROBE 1048
#define IDC_CTRL_AUTO 1049
#define IDC_CTRL_INIT 1050
#define IDC_CTRL_INPUT 1051
#define IDC_CTRL_TRISTATE 1052

#define IDC_STATIC (-1)
