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

// A frame whose place a paste can move: centre, corners and size within the range stored objects keep to.
bool IsPlaceableFrame(const CObjectFrame& frame)
{
    const CRect& rect = frame.GetRect();
    const SIZE size = frame.GetSize();
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
            if (!groups.back() || !IsPlaceableFrame(*groups.back()))
                return false;
        }
        for (int32_t i = 0; i < itemCount; ++i) {
            const int32_t group = ReadInt32(file);
            if (group < 0 || group > groupCount)
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

bool PasteObjectsBlock(CSitePage& page, CFile& file, bool otherSite, int pageCount, const CRect& visible)
{
    std::vector<std::unique_ptr<CObjectFrame>> groups;
    std::vector<ReadItem> items;
    if (!ReadBlock(page, file, groups, items))
        return false;

    page.ClearSelection();
    // A frame no item joins would be an empty selection on screen; it stays out of the page.
    std::vector<bool> joined(groups.size(), false);
    for (const ReadItem& read : items)
        if (read.group < static_cast<int32_t>(groups.size()))
            joined[static_cast<size_t>(read.group)] = true;
    std::vector<CObjectFrame*> frames;
    for (size_t i = 0; i < groups.size(); ++i) {
        frames.push_back(joined[i] ? groups[i].get() : nullptr);
        if (joined[i])
            page.AddGroup(std::move(groups[i]));
    }
    for (ReadItem& read : items) {
        if (otherSite)
            read.item->ResetPageLinks();
        else
            read.item->ClampPageLinks(pageCount);
        CPageItem* item = page.InsertItem(std::move(read.item));
        if (read.group < static_cast<int32_t>(frames.size()))
            frames[static_cast<size_t>(read.group)]->AttachItem(item);
    }

    for (CObjectFrame* frame : frames) {
        if (!frame)
            continue;
        CRect area;
        CPoint centre;
        if (frame->IsGroup()) {
            area = frame->GetRect();
            centre = CPoint(static_cast<int>(frame->GetCenter().x), static_cast<int>(frame->GetCenter().y));
        } else {
            for (int i = 0; i < frame->GetItemCount(); ++i)
                area |= frame->GetItem(i)->GetRect();
            centre = area.CenterPoint();
        }
        CRect shown;
        if (shown.IntersectRect(area, visible))
            continue;
        const CPoint target = visible.CenterPoint();
        frame->MoveBy(target.x - centre.x, target.y - centre.y);
    }
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
    picture.width = std::max(0, static_cast<int>(bounds.right - bounds.left));
    picture.height = std::max(0, static_cast<int>(bounds.bottom - bounds.top));
    if (picture.width == 0 || picture.height == 0)
        return RgbPicture();
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
