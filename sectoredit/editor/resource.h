// Identifiers of the editor's resources, menu commands and controls. Plain
// macros so the same header serves the resource compiler and the C++ code.
#pragma once

// Dialog templates and other resources.
#define IDD_MAIN 101
#define IDR_MAIN_MENU 102
#define IDD_ABOUT 103
#define IDB_ABOUT_PICTURE 104
#define IDI_PROGRAM 105
#define IDD_SELECT_DISK 106
#define IDD_GOTO_SECTOR 108
#define IDD_COPY_BLOCK 121
#define IDD_SEARCH_DISK 122
#define IDR_ACCELERATORS 123
#define IDD_SECTOR_COUNT 125

// Menu and accelerator commands.
#define IDM_EXPORT_SECTORS 40001
#define IDM_IMPORT_SECTORS 40002
#define IDM_PRINT_SECTOR 40004
#define IDM_ABOUT 40007
#define IDM_EXIT 40009
#define IDM_UNDO_CHANGES 40010
#define IDM_GOTO_SECTOR 40011
#define IDM_SEARCH_DISK 40013
#define IDM_SELECT_DISK 40014
#define IDM_COPY_BLOCK 40015
#define IDM_COPY_TO_BUFFER 40019
#define IDM_PASTE_FROM_BUFFER 40020
#define IDM_SAVE_SECTOR 40022
#define IDM_HEX_A 40023
#define IDM_HEX_B 40024
#define IDM_HEX_D 40025  // D comes before C in this table
#define IDM_HEX_C 40026
#define IDM_HEX_E 40027
#define IDM_HEX_F 40028
#define IDM_HEX_1 40029  // 40029..40037 are the digits 1..9
#define IDM_HEX_9 40037
#define IDM_HEX_0 40038
#define IDM_NEXT_SECTOR 40039
#define IDM_PREVIOUS_SECTOR 40040
#define IDM_CARET_RIGHT 40046
#define IDM_CARET_LEFT 40047
#define IDM_CARET_DOWN 40048
#define IDM_CARET_UP 40049
#define IDM_ERASE_DIGIT 40050
#define IDM_SWITCH_PANE 40052
#define IDM_CHAR_TYPED 40053
#define IDM_HEX_LOWER_A 40060  // 40060..40065 are the lower-case digits a..f
#define IDM_HEX_LOWER_F 40065
#define IDM_ZERO_DATA 40067

// Controls.
#define IDC_EMAIL_ME 1002
#define IDC_DONATE 1003
#define IDC_STATUS 1003
#define IDC_SCROLL 1004
#define IDC_HEX_PANE 1008
#define IDC_CHAR_PANE 1009
#define IDC_OPEN 1019
#define IDC_CANCEL 1020
#define IDC_DISK_LIST 1023
#define IDC_GOTO_FIELD 1024
#define IDC_GOTO_BUTTON 1025
#define IDC_COPY_DESTINATION 1043
#define IDC_COPY_COUNT 1044
#define IDC_COPY_BUTTON 1045
#define IDC_COPY_PROGRESS 1047
#define IDC_SEARCH_FIELD 1048
#define IDC_SECTOR_COUNT_FIELD 1048
#define IDC_SEARCH_BUTTON 1051
#define IDC_SEARCH_PROGRESS 1052
#define IDC_SEARCH_HEX 1053
#define IDC_SEARCH_ASCII 1054
#define IDC_SECTOR_COUNT_OK 1057
