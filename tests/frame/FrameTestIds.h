// Resources of the frame kit's tests (FrameTestResources.rc), clear of the program's own IDs.
#pragma once

// Four 24 x 16 frames, each a plain colour with a magenta hole at (8, 4)-(16, 12).
#define IDB_TEST_STRIP 9001
// 43 x 10: four 10-pixel frames and three extra columns of their own colour.
#define IDB_TEST_STRIP_ODD 9002

// A popup dialog with owner-drawn buttons and a sibling.
#define IDD_TEST_BUTTONS 9010
#define IDC_TEST_BUTTON 9011
#define IDC_TEST_SIBLING 9012
#define IDC_TEST_BUTTON2 9013
