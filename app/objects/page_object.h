#pragma once

// The root of everything that stands on a page. The page, its items, the selection frame, the view, the palettes,
// the site builder and undo talk to objects only through this interface. Gesture marks, capabilities, records,
// turning, resizing and rendering have a harmless answer here, so that a class overrides only what applies to it.
// What only the class can know stays pure: its centre, size and moves, its pixels and paint area, where its
// handles go, image update, page links, kind and download size, and how it is stored, cloned and restored.

#include <memory>

#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFillInfo;
class CEffectSettings;
class CLinkInfo;
class CPageObject;
class CStringAttr;

// What an object asks of the page item that holds it (app/site/page_item.h), which stands above the objects.
class ObjectHolder
{
public:
    // Whether the item has a mouse-over twin.
    virtual bool HasMouseOverTwin() const = 0;
    // When the item has a mouse-over twin set to show the same text and shows the given object, the other of the
    // two takes its text.
    virtual void CopyTextToMouseOverTwin(const CPageObject& edited) = 0;

protected:
    ~ObjectHolder() = default;
};

// What GetKind answers; stored nowhere, but the palettes and the site builder branch on it.
enum PageObjectKind : int
{
    objectCircle = 0,
    objectRectangle = 1,
    objectPolygon = 2,
    objectText = 3,
    objectCounter = 4,
    objectHtml = 5, // HTML code or a Flash object
    objectForm = 6,
};

class CPageObject
{
public:
    // Top-left, top-middle, top-right, middle-left, middle-right, bottom-left, bottom-middle, bottom-right.
    static constexpr int kHandleCount = 8;
    // A mouse-over twin may sit at most this far from its main object in stored files.
    static constexpr int kMaxStoredOffset = 100;

    CPageObject();
    CPageObject(const CPageObject&) = delete;
    CPageObject& operator=(const CPageObject&) = delete;
    virtual ~CPageObject();

    // The page item that holds this object as its main object or its mouse-over twin; null while none holds it.
    // The item keeps it, so that a text asks its item without a search through the site.
    ObjectHolder* GetItem() const { return item; }
    void SetItem(ObjectHolder* holder) { item = holder; }

    BYTE IsDirty() const { return dirty; }
    // The cached rendered image; null until the first render.
    CImage* GetImage() const { return image.get(); }
    int GetOffsetX() const { return offsetX; }
    int GetOffsetY() const { return offsetY; }
    // Shift the object, its bounds and its handles by the change of offset. The cached image stays valid: it only
    // moves with the bounds.
    void SetOffsetX(int x);
    void SetOffsetY(int y);

    // Marks of the mouse gestures; between them outline objects preview without a full render.
    virtual void BeginPlace() {}
    virtual void EndPlace() {}
    virtual void BeginTransform() {}
    virtual void EndTransform() {}
    virtual void BeginResize() {}
    virtual void EndResize() {}
    virtual void BeginRotate() {}
    virtual void EndRotate() {}

    // Rounded corners of rectangles.
    virtual void SetCorner(int corner) { (void)corner; }
    virtual int GetCorner() const { return 0; }

    // The next UpdateImage renders again.
    virtual void SetDirty() { dirty = 1; }
    virtual int GetShapeCode() const { return 3; }
    // Drops cached images so that they are rebuilt.
    virtual void FreeCaches() {}

    virtual RECT& GetBounds(RECT& rect) const
    {
        rect = bounds;
        return rect;
    }
    // The kHandleCount handle points, rotated with the object.
    virtual const DPOINT* GetHandlePoints() const { return handles; }

    virtual DPOINT& GetCenter(DPOINT& center) const = 0;
    virtual void SetCenter(const DPOINT& center) = 0;
    // Moves by whole pixels.
    virtual void MoveBy(int dx, int dy) = 0;
    // Unrotated width and height.
    virtual SIZE& GetSize(SIZE& size) const = 0;
    // A new size about the same centre.
    virtual void SetSize(int cx, int cy)
    {
        (void)cx;
        (void)cy;
    }
    virtual void SetSize(const SIZE& size) { SetSize(size.cx, size.cy); }
    // Radians.
    virtual double GetRotation() const { return 0.0; }
    virtual void SetRotation(double rotation) { (void)rotation; }
    // Rotation from a handle drag: the pointer now, the pointer's angle and the object's rotation when the drag
    // started, and whether to snap.
    virtual void RotateByHandle(POINT pointer, double startAngle, double startRotation, BYTE snap)
    {
        (void)pointer;
        (void)startAngle;
        (void)startRotation;
        (void)snap;
    }

    // Renders into the cached image with the scratch map; false on failure, leaving the object dirty.
    virtual bool RenderImage(CPixMap& scratch)
    {
        (void)scratch;
        return true;
    }
    // Copies the part of the image at (x, y), of the map's size, into the map; background, when given, is the
    // colour the object is shown on.
    virtual void GetPixels(int x, int y, CPixMap& map, const CColor* background = nullptr) = 0;
    // The area the object paints on the page, to be invalidated.
    virtual RECT& GetPaintRect(RECT& rect) const = 0;

    // Capabilities; the palettes and commands offer only what the object answers true to.
    virtual bool CanTakeStyle() const { return false; }
    virtual bool CanHavePictureFill() const { return false; }
    virtual bool HasFill() const { return false; }
    virtual bool CanHaveMouseOver() const { return false; }
    virtual bool CanHaveButtonText() const { return false; }
    // False means the object's image is written with an empty alternate text.
    virtual bool CanHaveAltText() const { return false; }
    virtual bool CanResize() const { return false; }
    virtual bool CanRotate() const { return false; }
    virtual SIZE& GetMinSize(SIZE& size) const
    {
        size = SIZE{1, 1};
        return size;
    }
    virtual SIZE& GetMaxSize(SIZE& size) const
    {
        size = SIZE{2000, 2000};
        return size;
    }

    // The records the object owns; null when it has none of the kind. The object keeps ownership.
    virtual CFillInfo* GetFill() const { return nullptr; }
    virtual CEffectSettings* GetEffects() const { return nullptr; }
    virtual CLinkInfo* GetLink() const { return nullptr; }
    virtual CStringAttr* GetAltText() const { return nullptr; }
    // Each setter takes the new record and hands back the one it replaces (null when there was none), so the
    // caller decides whether the old one lives on (undo, an exchange) or is freed. An object without such a
    // record takes nothing: the new one is freed.
    virtual std::unique_ptr<CFillInfo> SetFill(std::unique_ptr<CFillInfo> fill);
    virtual std::unique_ptr<CEffectSettings> SetEffects(std::unique_ptr<CEffectSettings> effects);
    virtual std::unique_ptr<CLinkInfo> SetLink(std::unique_ptr<CLinkInfo> link);
    virtual std::unique_ptr<CStringAttr> SetAltText(std::unique_ptr<CStringAttr> altText);

    // Makes the cached image current, rendering when dirty; false on failure.
    virtual bool UpdateImage(CPixMap& scratch) = 0;
    // UpdateImage in two steps, for renders spread over threads: PrepareImage on the user-interface thread,
    // RenderPreparedImage then on any thread with a scratch map of its own. Together they do what UpdateImage
    // does: false from PrepareImage means UpdateImage would have failed there, and renderOnCaller from the render
    // means the rest needs the first thread (a picture that cannot be loaded: the search for it asks the user), so
    // UpdateImage must follow there. Only objects whose render then touches nothing but themselves (no resources,
    // no questions to the program's services) can be split: CanRenderElsewhere says so.
    enum RenderResult : int
    {
        renderFailed = 0,
        renderDone = 1,
        renderOnCaller = 2,
    };
    virtual bool CanRenderElsewhere() const { return false; }
    virtual bool PrepareImage() { return true; }
    virtual int RenderPreparedImage(CPixMap& scratch) { return UpdateImage(scratch) ? renderDone : renderFailed; }
    // Whether UpdateImage has work to do.
    virtual bool NeedsImageUpdate() const { return dirty != 0; }
    // Page links follow the deletion of a page, are kept below a page count, or go back to page 0 and off.
    virtual void OnPageDeleted(int page) = 0;
    virtual void ClampPageLinks(int count) = 0;
    virtual void ResetPageLinks() = 0;
    // Recomputes the handle points from the geometry.
    virtual void UpdateHandles() = 0;
    // A PageObjectKind.
    virtual int GetKind() const = 0;
    // Estimated bytes the object adds to the page.
    virtual int GetDownloadSize(double divisor) const = 0;

    // Writes the class tag, then the object; CreatePageObjectFromArchive reads it back.
    virtual void Save(CFile& file) const = 0;
    // Reads what follows the class tag; bad data raises the file exception.
    virtual void Load(CFile& file, int major, int minor) = 0;
    // A snapshot of the geometry, for undo.
    virtual std::unique_ptr<CPageObject> Clone() const = 0;
    // A full copy; null for objects that cannot be copied.
    virtual std::unique_ptr<CPageObject> Duplicate() const { return nullptr; }
    // Undo restore from an object of the same class.
    virtual void CopyFrom(CPageObject& other) = 0;

protected:
    // Where the rendered image lies on the page. Empty on construction.
    CRect bounds;
    DPOINT handles[kHandleCount] = {};
    // 1 while the cached image no longer matches the object.
    BYTE dirty = 1;
    std::unique_ptr<CImage> image;
    // The shift of a mouse-over twin from its main object; a main object keeps 0.
    int offsetX = 0;
    int offsetY = 0;

private:
    ObjectHolder* item = nullptr;
};
