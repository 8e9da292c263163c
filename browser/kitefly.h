#pragma once

// The browser manager's exported interface: plain C functions a host calls to show addresses in the user's web
// browser, bring it to the front, list its windows and edit the library's choice of browser.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KITEFLY_EXPORT __attribute__((visibility("default")))

// Flags of Kitefly_OpenURL.
#define KITEFLY_OPEN_BIT0 0x1
#define KITEFLY_OPEN_NEW_WINDOW 0x2

// Messages of the settings page's dialog procedure, and the notification code of the sheet's OK.
#define KITEFLY_WM_DESTROY 0x0002
#define KITEFLY_WM_NOTIFY 0x004E
#define KITEFLY_WM_HELP 0x0053
#define KITEFLY_WM_NCDESTROY 0x0082
#define KITEFLY_WM_INITDIALOG 0x0110
#define KITEFLY_WM_COMMAND 0x0111
#define KITEFLY_PSN_APPLY (-202)

// The settings page's template.
#define KITEFLY_PAGE_TEMPLATE 1543

typedef intptr_t (*KITEFLY_DLGPROC)(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);

// The notification a WM_NOTIFY carries in its lParam.
typedef struct KITEFLY_NMHDR
{
    void* hwndFrom;
    uintptr_t idFrom;
    int code;
} KITEFLY_NMHDR;

// A page of a property sheet, as Kitefly_PreparePropSheet fills it for the host's own sheet.
typedef struct KITEFLY_PROPSHEETPAGE
{
    uint32_t dwSize;
    uint32_t dwFlags;
    void* hInstance;
    uintptr_t pszTemplate;
    void* hIcon;
    const char* pszTitle;
    KITEFLY_DLGPROC pfnDlgProc;
    intptr_t lParam;
    void* pfnCallback;
    uint32_t* pcRefParent;
} KITEFLY_PROPSHEETPAGE;

KITEFLY_EXPORT int Kitefly_Init(void);
KITEFLY_EXPORT int Kitefly_Close(void);
KITEFLY_EXPORT int Kitefly_OpenURL(const char* address, uint32_t flags);
KITEFLY_EXPORT int Kitefly_PreparePropSheet(KITEFLY_PROPSHEETPAGE* page);
KITEFLY_EXPORT intptr_t Kitefly_PropSheetDlgProc(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// The parent is a wxWindow* or null.
KITEFLY_EXPORT int Kitefly_InvokePropSheet(void* parent);
KITEFLY_EXPORT int Kitefly_IsOpen(void);
KITEFLY_EXPORT int Kitefly_Activate(uint32_t ignored);
// A block of pairs "title" NUL "address" NUL, one a window, ended by an empty string; owned by the library and
// valid until the next call or the last Kitefly_Close.
KITEFLY_EXPORT int Kitefly_GetBrowserURLs(char** urls);

#ifdef __cplusplus
}
#endif
