// Resource identifiers shared by the resource script and the program.
#pragma once
#define IDI_APP 200
#define IDM_ABOUT 9
#define IDM_MODIFY_CELL 101
