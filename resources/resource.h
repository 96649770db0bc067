// Identifiers of the setup program's resources: templates, pictures, controls, texts.
#pragma once
#include "resources/product.h"

#define IDD_SETUP_DIALOG         102
#define IDR_MAINFRAME            128  // program icon
#define IDB_SIDEBAR              129  // picture at the main dialog's left edge
#define IDD_NEWSLETTER           139

// Controls of the main dialog
#define IDC_INSTALL_DIR         1001
#define IDC_CREATE_SHORTCUTS    1002
#define IDC_BROWSE              1003
#define IDC_PROGRESS            1004
#define IDC_SIDEBAR             1005  // the picture, drawn to the control's size
// Control of the newsletter dialog
#define IDC_EMAIL               1001

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Texts of the string table, in English and French
#define IDS_FILE_MAIN_APP           1  // file name of the main application (payload SONDREL; launched at the end)
#define IDS_FILE_README             2  // file name of the readme page
#define IDS_FILE_CSV_SAMPLE         4  // file name of the first sample definition file
#define IDS_FILE_HTML_SAMPLE        5  // file name of the second sample definition file
#define IDS_LINK_MAIN_APP           6  // link name of the main application's shortcut
#define IDS_LINK_README             7  // link name of the readme shortcut
#define IDS_ASK_START_APP           9  // final question after a successful install
#define IDS_FILE_WEBSITE           10  // file name of the internet shortcut to the web site
#define IDS_LINK_WEBSITE           11  // link name of the web-site shortcut
#define IDS_BROWSE_TITLE           12  // title of the folder-browse dialog; a screen reader's name of "..."
#define IDS_CAPTION                14  // caption of the setup program's message boxes and the newsletter's messages
#define IDS_CANNOT_UPDATE_FILE     15  // prompt when an installed file cannot be replaced (%1 = full target path)
#define IDS_INSTALL_FAILED         16  // error after an unsuccessful install
#define IDS_FILE_PLAYER            17  // file name of the player program
#define IDS_FILE_DECODER           18  // file name of the audio decoder library
#define IDS_LINK_PLAYER            19  // link name of the player's shortcut
#define IDS_FILE_LOGO              20  // file name of the logo picture
#define IDS_FILE_MANUAL            21  // file name of the user's manual page
#define IDS_FILE_TEMPLATE          22  // file name of the first page template
#define IDS_FILE_TRAY              23  // file name of the tray launcher
#define IDS_LINK_MANUAL            24  // link name of the manual's shortcut
#define IDS_ASK_DEFAULT_PLAYER     25  // question whether the player becomes the default player
// A file error that ends a command (%1 = the file's full path)
#define IDS_FILE_ERROR_GENERIC          26  // any cause without a text of its own
#define IDS_FILE_ERROR_NOT_FOUND        27
#define IDS_FILE_ERROR_BAD_PATH         28
#define IDS_FILE_ERROR_TOO_MANY_OPEN    29
#define IDS_FILE_ERROR_ACCESS_DENIED    30
#define IDS_FILE_ERROR_BAD_HANDLE       31
#define IDS_FILE_ERROR_DIRECTORY_FULL   32
#define IDS_FILE_ERROR_HARDWARE         33
#define IDS_FILE_ERROR_SHARING          34
#define IDS_FILE_ERROR_LOCKING          35
#define IDS_FILE_ERROR_DISK_FULL        36
#define IDS_FILE_ERROR_END_OF_FILE      37
#define IDS_FILE_TEMPLATE_P        38  // file name of the second page template
#define IDS_VERSION                39  // product version sent with a subscription
#define IDS_LANGUAGE_CODE          40  // language code sent with a subscription
#define IDS_EMAIL_INVALID          41  // error for an implausible e-mail address
#define IDS_SUBSCRIPTION_FAILED    42  // error after a failed subscription
#define IDS_LINK_UNINSTALL         43  // link name of the uninstaller's shortcut
#define IDS_FILE_UNINSTALL         44  // file name of the uninstaller
// Why a directory typed into the setup dialog is refused (%1 = what is at fault)
#define IDS_DIR_NOT_FULL           45  // the text is not a full path
#define IDS_DIR_FORBIDDEN_CHAR     46  // the path holds a character names cannot hold
#define IDS_DIR_DEVICE_NAME        47  // a name of the path is a device's
#define IDS_DIR_BAD_ENDING         48  // a name of the path ends in a blank or a dot
#define IDS_DIR_NO_DRIVE           49  // the drive or share does not exist
#define IDS_DIR_IS_FILE            50  // a file stands where a folder of the path should be
#define IDS_DIR_TOO_LONG           51  // the files' paths would pass the path limit
#define IDS_NAME_PROGRESS          52  // what a screen reader calls the progress bar
