// Templates of the framework tests beside IDD_MAIN.
#pragma once
#define IDD_TEST_AT_POSITION 200
#define IDC_TEST_EDIT 2001
