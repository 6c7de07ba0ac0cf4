// Resource IDs of the framework tests' own dialogs.
#pragma once

#define IDD_FW_PLAIN 9001    // hidden pop-up, no centring style, at (0, 0)
#define IDD_FW_ABSALIGN 9002 // hidden pop-up with DS_ABSALIGN at (8, 8)
#define IDD_FW_MISSING 9099  // no such template

#define IDC_FW_FIRST 1001
#define IDC_FW_SECOND 1002
#define IDC_FW_LABEL 1003
#define IDC_FW_OWNERDRAW 1004
#define IDC_FW_DISABLED 1005
