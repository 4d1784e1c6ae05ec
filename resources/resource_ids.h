#pragma once
// Resource ids shared by the .rc files and the code.
#define IDI_VELMORA 1
#define IDM_FRAME_MENU 128
