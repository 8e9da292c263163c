#include "app/site/clipboard_objects.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/undo_manager.h"
#include "app/objects/outline_stream.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/win/file.h"

namespace {

// The block is read as a site file of this version.
constexpr int kMajor = 5;
constexpr int kMinor = 15;
// A group index and an item's class tag at the least.
constexpr ULONGLONG kMinClipboardEntrySize = 8;

// A frame as the writer leaves one: its rectangle in order and not of negative size, and its centre, corners and
// size within the range stored objects keep to. Checked as read, so that moving it cannot overflow, and again once
// it is moved into view.
bool IsPlaceableFrame(const CObjectFrame& frame)
{
    const CRect& rect = frame.GetRect();
    const SIZE size = frame.GetSize();
    if (rect.left > rect.right || rect.top > rect.bottom || size.cx < 0 || size.cy < 0)
        return false;
    for (double v : {frame.GetCenter().x, frame.GetCenter().y, double(rect.left), double(rect.top), double(rect.right),
                     double(rect.bottom), size.cx / 2.0, size.cy / 2.0})
        if (!IsStoredCoordinate(v))
            return false;
    return true;
}

bool ClipboardCountFits(const CFile& file, int32_t count, ULONGLONG entrySize)
{
    if (count < 0)
        return false;
    const ULONGLONG length = file.GetLength(), position = file.GetPosition();
    const ULONGLONG rest = position < length ? length - position : 0;
    return static_cast<ULONGLONG>(count) <= rest / entrySize;
}

struct ReadItem
{
    int32_t group;
    std::unique_ptr<CPageItem> item;
};

// Everything of the block, read before the page is touched; false for a block that is not sound.
bool ReadBlock(CSitePage& page, CFile& file, std::vector<std::unique_ptr<CObjectFrame>>& groups,
               std::vector<ReadItem>& items)
{
    try {
        const int32_t groupCount = ReadInt32(file);
        const int32_t itemCount = ReadInt32(file);
        if (itemCount == 0 || !ClipboardCountFits(file, groupCount, CObjectFrame::kStreamSize) ||
            !ClipboardCountFits(file, itemCount, kMinClipboardEntrySize))
            return false;
        for (int32_t i = 0; i < groupCount; ++i) {
            groups.push_back(CObjectFrame::Load(file, kMajor, kMinor));
            // The writer copies the selection: a frame that is not selected would paste objects that can be
            // neither seen as pasted nor copied again.
            if (!groups.back() || !groups.back()->IsSelected() || !IsPlaceableFrame(*groups.back()))
                return false;
        }
        for (int32_t i = 0; i < itemCount; ++i) {
            // Every item the writer copies is selected, and so is the frame it is in: an item names one of the
            // groups written.
            const int32_t group = ReadInt32(file);
            if (group < 0 || group >= groupCount)
                return false;
            std::unique_ptr<CPageItem> item = CPageItem::Load(file, page.GetRenderBuffer(), kMajor, kMinor);
            if (!item)
                return false;
            items.push_back({group, std::move(item)});
        }
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

} // namespace

bool WriteObjectsBlock(const CSitePage& page, CFile& file)
{
    std::unordered_map<const CObjectFrame*, int32_t> written;
    std::vector<const CObjectFrame*> groups;
    for (int i = 0; i < page.GetGroupCount(); ++i)
        if (const CObjectFrame* group = page.GetGroupAt(i); group->IsSelected()) {
            written.emplace(group, static_cast<int32_t>(groups.size()));
            groups.push_back(group);
        }
    std::vector<const CPageItem*> items;
    for (int i = 0; i < page.GetItemCount(); ++i)
        if (const CPageItem* item = page.GetItem(i); item->IsSelected())
            items.push_back(item);
    if (groups.empty() || items.empty())
        return false;
    WriteInt32(file, static_cast<int32_t>(groups.size()));
    WriteInt32(file, static_cast<int32_t>(items.size()));
    for (const CObjectFrame* group : groups)
        group->Save(file);
    for (const CPageItem* item : items) {
        const auto found = written.find(item->GetGroup());
        WriteInt32(file, found == written.end() ? static_cast<int32_t>(groups.size()) : found->second);
        if (!item->Save(file))
            return false;
    }
    return true;
}

namespace {

// Moves a frame wholly outside the visible part of the page to its centre.
void MoveIntoView(CObjectFrame& frame, const CRect& visible)
{
    CRect area;
    CPoint centre;
    if (frame.IsGroup()) {
        area = frame.GetRect();
        centre = CPoint(static_cast<int>(frame.GetCenter().x), static_cast<int>(frame.GetCenter().y));
    } else {
        for (int i = 0; i < frame.GetItemCount(); ++i)
            area |= frame.GetItem(i)->GetRect();
        centre = area.CenterPoint();
    }
    CRect shown;
    if (shown.IntersectRect(area, visible))
        return;
    const CPoint target = visible.CenterPoint();
    frame.MoveBy(target.x - centre.x, target.y - centre.y);
}

// Whether the site's writer takes what the paste would put on the page: a group or item it refuses would keep the
// site from being saved, and the block copied from it from being pasted.
bool IsWritable(const std::vector<std::unique_ptr<CObjectFrame>>& groups, const std::vector<ReadItem>& items)
{
    for (const auto& group : groups)
        if (group->GetItemCount() > 0 && !IsPlaceableFrame(*group))
            return false;
    for (const ReadItem& read : items) {
        CMemFile scratch;
        if (!read.item->Save(scratch))
            return false;
    }
    return true;
}

} // namespace

bool PasteObjectsBlock(CSitePage& page, CFile& file, bool otherSite, int pageCount, const CRect& visible)
{
    std::vector<std::unique_ptr<CObjectFrame>> groups;
    std::vector<ReadItem> items;
    if (!ReadBlock(page, file, groups, items))
        return false;
    // Placed as they will stand on the page before the page is touched, so that a paste the writer would refuse
    // is refused here.
    for (ReadItem& read : items) {
        if (otherSite)
            read.item->ResetPageLinks();
        else
            read.item->ClampPageLinks(pageCount);
        groups[static_cast<size_t>(read.group)]->AttachItem(read.item.get());
    }
    for (const auto& group : groups)
        if (group->GetItemCount() > 0)
            MoveIntoView(*group, visible);
    if (!IsWritable(groups, items))
        return false;

    page.ClearSelection();
    // A frame no item joins would be an empty selection on screen; it stays out of the page.
    for (auto& group : groups)
        if (group->GetItemCount() > 0)
            page.AddGroup(std::move(group));
    for (ReadItem& read : items)
        page.InsertItem(std::move(read.item));
    // The objects are drawn when the view next paints them, as those of a page just opened are.
    page.GetUndoManager()->RecordUndo(UndoKind::objectsAdded);
    return true;
}

RgbPicture RenderItemOnWhite(CPageItem& item)
{
    CPageObject& object = *item.GetCurrentObject();
    RECT bounds;
    object.GetBounds(bounds);
    RgbPicture picture;
    const long long width = std::max(0LL, static_cast<long long>(bounds.right) - bounds.left);
    const long long height = std::max(0LL, static_cast<long long>(bounds.bottom) - bounds.top);
    if (width == 0 || height == 0)
        return RgbPicture();
    if (width * height > kMaxClipboardPicturePixels) {
        picture.tooLarge = true;
        return picture;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.rgb.assign(static_cast<size_t>(picture.width) * picture.height * 3, 255);
    constexpr int kTile = 256;
    CPixMap map(IMAGE_MODE_RGBA, kTile, kTile);
    if (!map.IsValid())
        return RgbPicture();
    for (int y = 0; y < picture.height; y += kTile)
        for (int x = 0; x < picture.width; x += kTile) {
            map.width = std::min(kTile, picture.width - x);
            map.height = std::min(kTile, picture.height - y);
            object.GetPixels(x, y, map);
            for (int j = 0; j < map.height; ++j) {
                BYTE* out = picture.rgb.data() + (static_cast<size_t>(y + j) * picture.width + x) * 3;
                for (int i = 0; i < map.width; ++i, out += 3) {
                    // Alpha first, then red, green and blue.
                    const int alpha = *map.Sample(i, j, 0);
                    for (int c = 0; c < 3; ++c)
                        out[c] = static_cast<BYTE>(255 - (255 - *map.Sample(i, j, c + 1)) * alpha / 255);
                }
            }
        }
    return picture;
}

CPageItem* PastePicture(CSitePage& page, std::unique_ptr<CImage> picture, const CRect& visible)
{
    if (!picture || picture->IsEmpty())
        return nullptr;
    const int width = picture->Width(), height = picture->Height();
    const CPoint centre = visible.CenterPoint();
    // An odd size puts the centre on a half pixel, so that the edges fall on whole pixels.
    auto object = std::make_unique<CRectangleObject>(centre.x + (width % 2 ? 0.5 : 0.0),
                                                     centre.y + (height % 2 ? 0.5 : 0.0), SIZE{width, height}, 0.0);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetPicture(std::move(picture));
    object->SetFill(std::move(fill));
    page.ClearSelection();
    CPageItem* item = page.AddObject(std::move(object));
    page.SelectItem(item);
    page.RenderDirtyObjects();
    page.GetUndoManager()->RecordUndo(UndoKind::objectsAdded);
    return item;
}
