// Identifiers of the converter window's controls. Plain macros, so that the
// GUI test scripts can read them by name as well. They run without gaps from
// IDC_PANEL1 to IDC_GO_BTN: the window keeps its controls in an array.
#pragma once

#define IDC_PANEL1 1001
#define IDC_IMAGE1 1002
#define IDC_READ_FILE_BTN 1003
#define IDC_PANEL_LIST 1004
#define IDC_CATEGORY_LIST 1005
#define IDC_ADD_PANEL_BTN 1006
#define IDC_DEL_PANEL_BTN 1007
#define IDC_BUTTON_LIST 1008
#define IDC_UNFILED_LIST 1009
#define IDC_BUTTON_ADD_BTN 1010
#define IDC_BUTTON_DEL_BTN 1011
#define IDC_PANEL2 1012
#define IDC_BUTTON_IMAGE 1013
#define IDC_SCALE_COMBO 1014
#define IDC_PREVIEW_COMBO 1015
#define IDC_SCALE_X_EDIT 1016
#define IDC_SCALE_Y_EDIT 1017
#define IDC_OFFSET_X_EDIT 1018
#define IDC_OFFSET_Y_EDIT 1019
#define IDC_REFRESH_BTN 1020
#define IDC_ACTIVE_BUTTONS_CHECK 1021
#define IDC_CLICKED_BUTTONS_CHECK 1022
#define IDC_HK_CHECK 1023
#define IDC_INCLUDE_TEXT_CHECK 1024
#define IDC_INCLUDE_IR_CHECK 1025
#define IDC_GO_BTN 1026

// The options appended to the window's system menu. System commands are
// multiples of 16 below 0xF000: the system uses their low four bits.
#define IDM_DECODE_COMPRESSED 0x0010
#define IDM_CONVERT_RC6 0x0020
