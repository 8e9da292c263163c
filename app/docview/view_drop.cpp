#include "app/docview/view_drop.h"

#include <array>
#include <cstring>
#include <fstream>
#include <memory>

#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/site/site_page.h"
#include "platform/io/gif_io.h"
#include "platform/resources/string_ids.h"
#include "platform/win/codepage1252.h"

namespace {

// The invalid-picture dialog.
constexpr int kItemsChanged = 10018;

bool HasGifExtension(const std::string& path)
{
    return path.size() >= 4 && LowerCase1252(path.substr(path.size() - 4)) == ".gif";
}

} // namespace

bool IsDroppablePicture(const std::string& path)
{
    std::array<char, 8> head{};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(head.data(), head.size()) && in.gcount() < 4)
        return false;
    const auto starts = [&](const char* magic, size_t length) { return std::memcmp(head.data(), magic, length) == 0; };
    return starts("\x89PNG", 4) || starts("\xFF\xD8\xFF", 3) || starts("GIF8", 4) || starts("BM", 2);
}

int DropPictureFiles(CSitePage& page, const std::vector<std::string>& paths, const CPoint& at)
{
    page.ClearSelection();
    int made = 0;
    for (const std::string& path : paths) {
        auto fill = std::make_unique<CFillInfo>();
        fill->SetImageFile(path);
        if (fill->UpdateImage(SIZE{0, 0}) != 0 || !fill->GetImage()) {
            GetModelDialogs().ShowPictureDialog(IDS_NOT_A_PICTURE);
            continue;
        }
        const int width = fill->GetImage()->Width(), height = fill->GetImage()->Height();
        if (HasGifExtension(path) && CGifIO::IsAnimated(path))
            fill->SetAnimated(true);
        auto object = std::make_unique<CRectangleObject>(at.x + (width % 2 ? 0.5 : 0.0),
                                                         at.y + (height % 2 ? 0.5 : 0.0), SIZE{width, height}, 0.0);
        object->SetFill(std::move(fill));
        page.AddToSelection(page.AddObject(std::move(object)));
        ++made;
    }
    // The step is recorded once the objects are there, so that Undo takes away these and nothing that was there
    // before the drop.
    if (made > 0)
        page.GetUndoManager()->RecordUndo(UndoKind::objectsAdded);
    NotifyInspector(kItemsChanged);
    page.RenderDirtyObjects();
    return made;
}
