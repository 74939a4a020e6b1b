#pragma once
// Resource and control identifiers, shared by kelvaro.rc, the code and the tests.

// Dialog templates.
#define IDD_JOINT_PANEL      101
#define IDD_LIMITS_DIALOG    102

// The joint panel: an axis is named by its slider's identifier everywhere.
#define IDC_PITCH_SLIDER     1001
#define IDC_YAW_SLIDER       1002
#define IDC_ROLL_SLIDER      1003
#define IDC_UNDO             1010
#define IDC_RESET            1011
#define IDC_YAW_EDIT         1012
#define IDC_PITCH_EDIT       1013
#define IDC_ROLL_EDIT        1014
#define IDC_AUTOSHADE        1016

// The limits dialog.
#define IDC_LIMIT_MINIMUM    1007
#define IDC_LIMIT_CURRENT    1008
#define IDC_LIMIT_MAXIMUM    1009
