#include "app/dialogs/notice_table.h"

#include <iterator>

namespace {

using B = NoticeButtons;
using P = NoticePlacement;
using I = NoticeIcon;
using C = NoticeCheck;

const NoticeRow kNotices[] = {
    {kNoticeDeletePage, B::yesNo, P::mainWindow, I::question, C::none},
    {kNoticeInvalidPicture, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeNoMemoryForPicture, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeNoMemory, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeFillNotLoadable, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeChangesNotSaved, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeFillNotFound, B::ok, P::rememberedCentre, I::warning, C::none},
    {kNoticeBuildError, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeSiteSaveError, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticeSiteOpenError, B::ok, P::rememberedCentre, I::error, C::none},
    {kNoticePageLimitAdd, B::ok, P::mainWindow, I::information, C::none},
    {kNoticePageLimitShow, B::ok, P::mainWindow, I::information, C::none},
    {kNoticeNoMemoryForFill, B::ok, P::owner, I::warning, C::none},
    // The publisher's notices open on the desktop.
    {413, B::enterCancel, P::desktop, I::information, C::none},
    {416, B::yesNo, P::desktop, I::question, C::none},
    {468, B::ok, P::desktop, I::error, C::none},
    {469, B::ok, P::desktop, I::error, C::none},
    {470, B::ok, P::desktop, I::error, C::none},
    {471, B::ok, P::desktop, I::error, C::none},
    {472, B::ok, P::desktop, I::information, C::none},
    {kNoticeNoThemes, B::ok, P::owner, I::information, C::none},
    {kNoticeNoServerConnection, B::checkCancel, P::desktop, I::error, C::none},
    {kNoticeServerAccessDenied, B::checkCancel, P::desktop, I::error, C::none},
    {477, B::ok, P::desktop, I::error, C::none},
    {478, B::ok, P::desktop, I::error, C::none},
    {kNoticeDontShowAgain, B::ok, P::owner, I::information, C::dontShowAgain},
    {5011, B::ok, P::desktop, I::information, C::none},
    {5015, B::okCancel, P::desktop, I::question, C::none},
    {kNoticeTransferSettings, B::yesNo, P::owner, I::information, C::none},
    {kNoticePngTransparency, B::ok, P::owner, I::information, C::transparencyWarning},
    {kNoticeFolderNameRefused, B::ok, P::owner, I::error, C::none},
};

} // namespace

const NoticeRow* FindNotice(int id)
{
    for (const NoticeRow& row : kNotices)
        if (row.id == id)
            return &row;
    return nullptr;
}

const NoticeRow* GetNoticeRows(size_t& count)
{
    count = std::size(kNotices);
    return kNotices;
}

CPoint TopLeftForCentre(const CPoint& centre, const CSize& size)
{
    return CPoint(centre.x - size.cx / 2, centre.y - size.cy / 2);
}

CPoint CentreOf(const CRect& rect)
{
    return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
