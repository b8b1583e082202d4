// Create Profile: the ticked rows of the List of Windows table saved, under
// a name from the Name of Profile window, as a new profile file.
#pragma once
#include <windows.h>

#include <cstdint>

#include "profile_write_record.h"
#include "scan_store.h"

int32_t onButton_Create_Profile(HWND hwndThis, HWND hwndLV, HWND* p_hwnd_ProfileName, STR_RW_PRFL* pSTR_RW_PRFL,
                                STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA);
int32_t DynMemAlloc_wnds_Profile(STR_RW_PRFL* pSTR_RW_PRFL, const STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA);
int32_t PrepareData_Write_Profile(STR_RW_PRFL* pSTR_RW_PRFL, const STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA);
int32_t FreeDynMem_wnds_Profile(STR_RW_PRFL* pSTR_RW_PRFL);

// After the name arrived: closes the Name of Profile window, asks for the
// file in the Save dialog and writes it. 1; -1 missing argument; -2 the
// file could not be created or written (reported; nothing left behind);
// -3 the dialog was cancelled.
int32_t on_WM_COPYDATA_on_wnd_NameOfProfile(HWND hwnd_wnd_ListOfWnds, HWND hwnd_wnd_NameProfile,
                                            STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, STR_RW_PRFL* pSTR_RW_PRFL);

// Writes the record's profile to an open file: 1; -1 a missing argument;
// -2 the write or the flush failed; -3 the record holds what a profile
// file cannot (reported).
int32_t WriteData_Profile(HANDLE hFile_wnds_profile, STR_RW_PRFL* pSTR_RW_PRFL, uint32_t N_wnds,
                          const uint8_t* p_arr1D_uc_flag_Prg_or_Folder, const uint32_t* p_arr1D_ui_x,
                          const uint32_t* p_arr1D_ui_y, const uint32_t* p_arr1D_ui_w, const uint32_t* p_arr1D_ui_h,
                          const uint32_t* p_arr1D_ui_len_path, const qd_char* p_arr_strz_paths);

// The List of Windows window's handling of the name hand-back (WM_COPYDATA).
BOOL on_WM_COPYDATA_ListOfWindows(HWND hwndThis, WPARAM wParam, const COPYDATASTRUCT* pCDS,
                                  STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, STR_RW_PRFL* pSTR_RW_PRFL);
