#pragma once

// The program's notices, errors and simple prompts: one row each, shown by one dialog. A row says which buttons the
// notice has, where it opens, which icon it shows and whether it carries a check box. Its text is the string of the
// same number.

#include "platform/win/win_types.h"

enum class NoticeButtons
{
    ok,          // OK
    okCancel,    // OK, Cancel
    yesNo,       // Yes = IDOK, No = IDCANCEL
    checkCancel, // Check = IDOK, Cancel = IDCANCEL
    enterCancel, // Enter information = IDOK, Cancel = IDCANCEL
};

enum class NoticePlacement
{
    rememberedCentre, // centred on the remembered dialog centre; OK stores the dialog's centre there
    desktop,          // centred on the screen
    mainWindow,       // centred over the main window
    owner,            // centred over its owner, storing nothing
};

enum class NoticeIcon
{
    information,
    warning,
    error,
    question,
};

// What a check box on a notice does.
enum class NoticeCheck
{
    none,
    dontShowAgain,       // the caller reads the box after OK
    transparencyWarning, // any click switches the transparent-picture warning off at once
};

struct NoticeRow
{
    int id;
    NoticeButtons buttons;
    NoticePlacement placement;
    NoticeIcon icon;
    NoticeCheck check;
};

// The notices with an id of their own.
enum NoticeId
{
    kNoticeDeletePage = 279,
    kNoticeInvalidPicture = 294,
    kNoticeNoMemoryForPicture = 295,
    kNoticeNoMemory = 296,
    kNoticeFillNotLoadable = 300,
    kNoticeChangesNotSaved = 304,
    kNoticeFillNotFound = 311,
    kNoticeBuildError = 375,
    kNoticeSiteSaveError = 402,
    kNoticeSiteOpenError = 403,
    kNoticePageLimitAdd = 410,
    kNoticePageLimitShow = 411,
    kNoticeNoMemoryForFill = 419,
    kNoticeNoThemes = 474,
    kNoticeNoServerConnection = 475,
    kNoticeServerAccessDenied = 476,
    kNoticeDontShowAgain = 578,
    kNoticeTransferSettings = 5017,
    kNoticePngTransparency = 5046,
    kNoticeFolderNameRefused = 7020,
};

// The row of a notice, or null when the program has no such notice.
const NoticeRow* FindNotice(int id);
// Every row, for those who show them all.
const NoticeRow* GetNoticeRows(size_t& count);

// The top-left corner that puts a window of the given size centred on a point.
CPoint TopLeftForCentre(const CPoint& centre, const CSize& size);
// The centre of a window's rectangle, as it is remembered.
CPoint CentreOf(const CRect& rect);
