// Resource and control IDs of the program. Included by the .rc file too, so: #define lines only.
#pragma once

// Icon: big and small icon of the main window and the game window.
#define IDR_MAINFRAME 128

// Dialog templates.
#define IDD_START_PAGE 102
#define IDD_MAIN 129
#define IDD_GAME 137

// "PNG" resources with per-pixel alpha: the main window's background and its buttons' state images.
#define IDB_BACKGROUND 130
#define IDB_MINIMIZE_NORMAL 131
#define IDB_MINIMIZE_HOVER 132
#define IDB_MINIMIZE_PRESSED 133
#define IDB_CLOSE_NORMAL 134
#define IDB_CLOSE_HOVER 135
#define IDB_CLOSE_PRESSED 136

// Bitmap strips of the game window's hover buttons: four frames side by side (normal, hover, pressed, disabled).
#define IDB_STRIP_CLOSE 138
#define IDB_STRIP_MAXIMIZE 139
#define IDB_STRIP_MINIMIZE 140
#define IDB_STRIP_RESTORE 141

// Pieces of the game window's painted caption bar and frame.
#define IDB_FRAME_CAPTION_LEFT 142
#define IDB_FRAME_CAPTION_MIDDLE 143
#define IDB_FRAME_CAPTION_RIGHT 144
#define IDB_FRAME_LEFT 145
#define IDB_FRAME_RIGHT 146
#define IDB_FRAME_BOTTOM_LEFT 147
#define IDB_FRAME_BOTTOM 148
#define IDB_FRAME_BOTTOM_RIGHT 149

// Control IDs.
#define IDC_MINIMIZE 1001
#define IDC_CLOSE 1002
#define IDC_START_PAGE 1003
#define IDC_RESTORE 1004
#define IDC_GAME_PAGE 1005
#define IDC_MAXIMIZE 1007
// The hidden browser that catches a page's requests for a new window.
#define ID_POPUP_BROWSER 10000
