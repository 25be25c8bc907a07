#pragma once
// Resource ids shared by the resource script and the code.
#define IDI_TESSARY 5
#define IDC_TESSARY_POINTER 117
#define IDW_CLICK 170
#define IDW_TICK 171
