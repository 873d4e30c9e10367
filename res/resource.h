/* Resource identifiers, shared by the .rc files and the C++ code.
 * Plain C, no windows.h: windres reads this too. */
#ifndef ORVA_RES_RESOURCE_H
#define ORVA_RES_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Initial-data block of a template (type 240, same id as the template):
 * records of WORD control id, WORD message, DWORD byte count, bytes;
 * a WORD 0 ends the block. */
#define RT_INITDATA            240
/* The record message meaning "add this text as a combo box item" (the
 * 16-bit CB_ADDSTRING number, not the Win32 0x0143). */
#define INITDATA_CB_ADDSTRING  0x0403

/* Dialog templates */
#define IDD_ABOUT              100
#define IDD_PRINTER_SETTINGS   102
#define IDD_OS_SELECT          129
#define IDD_CREATE_PORT        138
#define IDD_SELECT_PORT        139

/* Strings, icons */
#define IDS_ABOUT_ITEM         101
#define IDI_PRINTER            128

/* System menu command of the about item; the low four bits of a system
 * command belong to the system. */
#define IDM_ABOUT              0x0010

/* IDD_OS_SELECT */
#define IDC_OS_WIN95           1000
#define IDC_OS_WIN98           1001
#define IDC_OS_WINNT4          1002
#define IDC_OS_WIN2000         1003
#define IDC_OS_WINXP           1004
#define IDC_OS_WIN7            1005
#define IDC_OS_WIN8            1006
#define IDC_OS_SLIDER          1007
#define IDC_OS_BACK            1008
#define IDC_OS_NEXT            1009
#define IDC_OS_EXIT            1010
#define IDC_OS_WIN2003         1011
#define IDC_OS_VISTA           1020

/* IDD_PRINTER_SETTINGS */
#define IDC_SETTINGS_BACK      1008
#define IDC_SETTINGS_NEXT      1009
#define IDC_SETTINGS_EXIT      1010
#define IDC_MODEL_COMBO        1011
#define IDC_SET_DEFAULT        1012
#define IDC_PRINTER_NAME       1013
#define IDC_PORT_COMBO         1014
#define IDC_BAUD_COMBO         1015
#define IDC_DATABITS_COMBO     1016
#define IDC_FLOW_COMBO         1017
#define IDC_PARITY_COMBO       1018
#define IDC_STOPBITS_COMBO     1019

/* IDD_SELECT_PORT */
#define IDC_PORT_SLIDER        1007
#define IDC_PORT_CREATE        1008
#define IDC_PORT_CONFIGURE     1009
#define IDC_PORT_BACK          1010
#define IDC_PORT_LIST          1021
#define IDC_INSTALL            1022
#define IDC_PORT_CANCEL        1023
#define IDC_PROGRESS           1025

/* IDD_CREATE_PORT */
#define IDC_MONITOR_NEW_PORT   1008
#define IDC_MONITOR_CLOSE      1009
#define IDC_MONITOR_LIST       1021

#endif
