// Resource and command identifiers of the editor, shared by Pramel.rc and
// the code. The standard commands (57600 and up) are in
// framework/StandardIds.h and repeated here for the resource script.
#pragma once

// Resources
#define IDR_MAINFRAME 128        // menu, accelerators, icon, document string, standard toolbar
#define IDR_EDITBAR 134          // edit toolbar
#define IDD_MSGBAR 132           // output bar
#define IDD_INFOBAR 133          // information bar
#define IDD_VIEWSET 142          // data display settings
#define IDD_CANCEL 103           // progress of a long template run
#define IDD_LIBRARY_SETTINGS 134 // library settings
#define IDD_SELECT_TEMPLATE 143  // template selection
#define IDR_GUTTER_MENU 138      // context menu of the offset gutter
#define IDP_OLE_INIT_FAILED 100

// Control bars
#define ID_VIEW_EDITBAR_BAR 134
#define ID_OUTPUT_BAR 132
#define ID_INFO_BAR 133

// Status indicators
#define ID_INDICATOR_WRITE 130
#define ID_INDICATOR_MODE 131

// Commands of the editor
#define ID_TEMPLATE_SELECT 135
#define ID_VIEW_EDITBAR 32773
#define ID_VIEW_OUTPUTBAR 32774
#define ID_VIEW_INFOBAR 32775
#define ID_ENDIAN_LITTLE 32776
#define ID_ENDIAN_BIG 32777
#define ID_DATA_BYTE 32780
#define ID_DATA_WORD 32781
#define ID_DATA_DWORD 32782
#define ID_ALWAYS_ON_TOP 32783
#define ID_OFFSET_BYTE 32784
#define ID_OFFSET_WORD 32785
#define ID_OFFSET_DWORD 32786
#define ID_OFFSET_LINE 32787
#define ID_RADIX_DEC 32788
#define ID_RADIX_HEX 32789
#define ID_ASCII_PANE 32790
#define ID_COMMENT_OUT 32791
#define ID_COMMENT_CLEAR 32792
#define ID_HEADING_UP 32793
#define ID_HEADING_DOWN 32794
#define ID_FULL_SCREEN 32795
#define ID_FONT_LARGEST 32796
#define ID_FONT_LARGE 32797
#define ID_FONT_MEDIUM 32798
#define ID_FONT_SMALL 32799
#define ID_FONT_SMALLEST 32800
#define ID_PRESAVE_CHECK 32801
#define ID_RELOAD 32802
#define ID_TEMPLATE_HELP 32803
#define ID_HEADING_FIELD 32804
#define ID_TAB_1 32805
#define ID_TAB_2 32806
#define ID_TAB_4 32807
#define ID_TAB_8 32808
#define ID_FIND_BOX_FIND 32809
#define ID_FIND_DOWN 32810
#define ID_FIND_UP 32811
#define ID_LIBRARY_CHANGE 32813
#define ID_LIBRARY_APPLY 32814
#define ID_LIBRARY_PATH 32815
#define ID_VIEW_SETTINGS 32818

// Controls
#define IDC_FIND_BOX 101
#define IDC_FILE_SIZE 1003
#define IDC_LABEL_1 1004
#define IDC_CARET_VALUE 1005
#define IDC_LABEL_2 1006
#define IDC_PROGRESS 1006
#define IDC_TEMPLATE_NAME 1007
#define IDC_DETAILS 1011
#define IDC_TEMPLATE_FOLDER 1015
#define IDC_TEMPLATE_LIST 1019
#define IDC_LIBRARY_FOLDER 1007
#define IDC_LINE_SIZE 1016
#define IDC_SEPARATOR 1017
#define IDC_LINE_SIZE_SPIN 1018
#define IDC_OUTPUT_TEXT 1050

// Standard commands used by the resource script
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_CLOSE 57602
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_NEW_FRAME 57613
#define ID_FILE_MRU_FILE1 57616
#define ID_EDIT_CLEAR 57632
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_FIND 57636
#define ID_EDIT_PASTE 57637
#define ID_EDIT_PASTE_SPECIAL 57639
#define ID_EDIT_REPEAT 57640
#define ID_EDIT_REPLACE 57641
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_UNDO 57643
#define ID_EDIT_REDO 57644
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_HELP_FINDER 57667
#define ID_CONTEXT_HELP 57669
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define IDS_APP_TITLE 57344
#define IDS_IDLEMESSAGE 57345
#define IDP_FAILED_TO_CREATE_DOC 61700
