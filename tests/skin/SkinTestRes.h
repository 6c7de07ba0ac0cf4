// Resource IDs of the skin tests' own resources (SkinTest.rc), clear of the program's.
#pragma once

// A visible caption-less pop-up, as a colour-keyed companion's template is.
#define IDD_TEST_OVERLAY 9000
#define IDC_TEST_STATIC 9001

// Plain test pictures: every pixel of each is the named colour, fully opaque.
#define IDB_TEST_RED 9101         // 40 x 30
#define IDB_TEST_BLUE 9102        // 40 x 30
#define IDB_TEST_YELLOW 9103      // 40 x 30
#define IDB_TEST_MAGENTA 9104     // 40 x 30
#define IDB_TEST_CYAN 9105        // 40 x 30
#define IDB_TEST_SMALL_GREEN 9106 // 20 x 10, RGB(0, 160, 0)
#define IDB_TEST_WHITE 9107       // 80 x 40
// A "PNG" resource whose bytes are not a picture.
#define IDB_TEST_CORRUPT 9108
// No resource of any type has this ID.
#define IDB_TEST_MISSING 9199
