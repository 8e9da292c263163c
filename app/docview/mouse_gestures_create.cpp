// The gestures that make new objects: shapes drawn from a band, counters and forms placed by the pointer, pictures
// and HTML or Flash objects opened from a band.

#include <memory>
#include <string>

#include "app/docview/mouse_gestures.h"
#include "app/docview/mouse_tools.h"
#include "app/model/app_settings.h"
#include "app/model/fill_info.h"
#include "app/model/model_dialogs.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/page_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/io/gif_io.h"
#include "platform/resources/string_ids.h"
#include "platform/win/path.h"

namespace mouse_gestures {

namespace {

// The Object page's buttons that edit an HTML object's code and a Flash object's movie.
constexpr int kEditHtmlCommand = 1558;
constexpr int kFlashCommand = 1606;


// The picture file the user chooses, loaded into a new fill; null when the choice is cancelled or the picture
// cannot be had. A file that cannot be read or is no picture is said so and the choice opens again.
std::unique_ptr<CFillInfo> ChoosePicture()
{
    CAppSettings* settings = GetAppSettings();
    for (;;) {
        std::string path = settings ? settings->GetImagePath() : std::string();
        if (!GetModelDialogs().GetPictureFileName(path))
            return nullptr;
        auto fill = std::make_unique<CFillInfo>();
        fill->SetImageFile(path);
        const int result = fill->UpdateImage(SIZE{0, 0});
        if (result == 1 || result == 2) {
            GetModelDialogs().ShowPictureDialog(result == 1 ? IDS_PICTURE_NOT_LOADED : IDS_NOT_A_PICTURE);
            continue;
        }
        if (result != 0 || !fill->GetImage()) {
            GetModelDialogs().ShowPictureDialog(IDS_NO_MEMORY_FOR_PICTURE);
            return nullptr;
        }
        if (settings) {
            std::string drive, folder;
            SplitPath(path, &drive, &folder, nullptr, nullptr);
            settings->m_imagePath = drive + folder;
        }
        if (path.find(".gif") != std::string::npos && CGifIO::IsAnimated(path))
            fill->SetAnimated(true);
        return fill;
    }
}

// The picture band released: the chosen picture goes where the band says, on a new rectangle.
void ReleasePicture(GestureContext& context, const CRect& band)
{
    // The band goes before the file dialog opens over the view.
    context.ResetGesture();
    context.host.LetMouseGo();
    std::unique_ptr<CFillInfo> fill = ChoosePicture();
    if (!fill) {
        context.host.InvalidateAll(true);
        return;
    }
    CSitePage& page = context.page;
    const CImage& image = *fill->GetImage();
    const CSize pageSize(page.GetWidth(), page.GetHeight());
    PicturePlacement placement = PlacePicture(band, CSize(image.Width(), image.Height()));
    if (IsLargerThanPage(placement.size, pageSize)) {
        bool fit = false, keepAspect = false;
        if (GetModelDialogs().ShowPictureTooLargeDialog(fit, keepAspect) == DialogAnswer::ok && fit)
            placement = FitPictureToPage(placement, pageSize, keepAspect);
    }
    auto object = std::make_unique<CRectangleObject>(placement.centre.x, placement.centre.y,
                                                     SIZE{placement.size.cx, placement.size.cy}, 0.0);
    object->SetFill(std::move(fill));
    context.host.InvalidatePageRect(context.SelectionArea(), true);
    CPageItem* item = page.AddObject(std::move(object));
    page.SelectItem(item);
    GetToolsAndInspector().ShowObjectInspector();
    context.RecordUndo(UndoKind::objectsAdded);
    page.RenderDirtyObjects();
    NotifyInspector(kGestureEnded);
    context.host.InvalidateAll(true);
}

// The HTML or Flash band released: the object is made and its code or movie asked for.
void ReleaseHtml(GestureContext& context, const CRect& band, bool flash)
{
    CSitePage& page = context.page;
    const CRect rect = HtmlObjectRect(band);
    GetToolsAndInspector().ShowObjectInspector();
    CRect area = context.SelectionArea();
    page.ClearSelection();
    CPageItem* item =
        page.AddObject(std::make_unique<CHtmlObject>(POINT{rect.left, rect.top}, rect.Width(), rect.Height()));
    page.SelectItem(item);
    area.UnionRect(area, context.SelectionArea());
    context.host.InvalidatePageRect(area, true);
    context.RecordUndo(UndoKind::objectsAdded);
    GetToolsAndInspector().SendObjectPageCommand(flash ? kFlashCommand : kEditHtmlCommand, true);
    context.EndGesture();
}

} // namespace

// ---- New shapes, counters and forms ----

void CreateDrag::PressShape(GestureContext& context, const MouseInput& input, int tool)
{
    GetToolsAndInspector().ShowObjectInspector();
    context.host.TakeFocus();
    context.host.InvalidatePageRect(context.SelectionArea(), false);
    context.page.ClearSelection();
    const int shapeKind = tool == kMouseToolShape ? GetToolsAndInspector().GetToolsBarShapeKind() : 0;
    CPageItem* item = context.page.CreateObject(POINT{input.pt.x, input.pt.y}, shapeKind);
    if (!item)
        return;
    context.gesture = CreateDrag{input.pt, true};
    context.page.FreezeSelectedObjects();
    item->GetCurrentObject()->BeginPlace();
    GetToolsAndInspector().ResetShapesPalette();
    context.host.HoldMouse();
    NotifyInspector(kSelectionChanged);
}

void CreateDrag::PressPlaced(GestureContext& context, const MouseInput& input, int tool)
{
    GetToolsAndInspector().ShowObjectInspector();
    const CRect before = context.SelectionArea();
    const POINT at{input.pt.x, input.pt.y};
    std::unique_ptr<CPageObject> object;
    if (tool == kMouseToolCounter)
        object = std::make_unique<CCounterObject>(0, at);
    else
        object = std::make_unique<CFormObject>(std::string(), at);
    CPageItem* item = context.page.AddObject(std::move(object));
    context.page.SelectItem(item);
    CRect area = context.SelectionArea();
    area.UnionRect(area, before);
    context.host.InvalidatePageRect(area, true);
    context.host.SetMoveCursor();
    context.gesture = CreateDrag{input.pt, false};
    context.page.FreezeSelectedObjects();
    item->GetCurrentObject()->BeginPlace();
    NotifyInspector(kPlacing);
    context.host.HoldMouse();
}

void CreateDrag::Drag(GestureContext& context, const MouseInput& input)
{
    const CPoint pt = context.ClampToPage(input.pt);
    CPageItem* single = context.page.GetSingleSelectedItem();
    if (!single)
        return;
    const CRect before = InflatedBy(single->GetFullRect(), 3);
    single->ResizeByDrag(POINT{pressPoint.x, pressPoint.y}, POINT{pt.x, pt.y}, input.ctrl);
    if (CObjectFrame* frame = single->GetGroup())
        frame->RecalcBounds();
    untouched = false;
    CRect area = InflatedBy(single->GetFullRect(), 3);
    area.UnionRect(area, before);
    context.host.InvalidatePageRect(area, false);
}

void CreateDrag::Release(GestureContext& context)
{
    context.BeginDragRelease();
    CSitePage& page = context.page;
    if (untouched) {
        // A click without a drag leaves no object behind.
        if (CPageItem* item = page.GetSingleSelectedItem()) {
            context.host.InvalidatePageRect(InflatedBy(item->GetFullRect(), 3), true);
            page.RemoveItem(item);
        }
        context.ResetGesture();
        context.host.LetMouseGo();
        context.host.InvalidateAll(true);
        return;
    }
    if (CPageItem* item = page.GetSingleSelectedItem()) {
        item->GetCurrentObject()->EndPlace();
        if (CObjectFrame* frame = item->GetGroup())
            frame->RecalcBounds();
        context.RecordUndo(UndoKind::objectsAdded);
    }
    context.EndGesture();
}

void CreateDrag::Abandon(GestureContext& context)
{
    if (CPageItem* single = context.page.GetSingleSelectedItem())
        single->GetCurrentObject()->SetDirty();
    context.AbandonGesture();
}

// ---- The picture, HTML and Flash bands ----

void ObjectBand::Press(GestureContext& context, const MouseInput& input, int tool)
{
    const Makes makes = tool == kMouseToolPicture ? Makes::picture
                        : tool == kMouseToolFlash ? Makes::flash
                                                  : Makes::html;
    context.gesture = ObjectBand{CRect(input.pt.x, input.pt.y, input.pt.x, input.pt.y), makes};
    context.host.HoldMouse();
    context.host.InvalidatePageRect(context.SelectionArea(), false);
    context.page.ClearSelection();
    NotifyInspector(kSelectionChanged);
}

void ObjectBand::Drag(GestureContext& context, const MouseInput& input)
{
    context.DragBand(band, context.ClampToPage(input.pt));
}

void ObjectBand::Release(GestureContext& context)
{
    context.BeginDragRelease();
    if (makes == Makes::picture)
        ReleasePicture(context, band);
    else
        ReleaseHtml(context, band, makes == Makes::flash);
}

void ObjectBand::Abandon(GestureContext& context)
{
    context.AbandonGesture();
}

} // namespace mouse_gestures
