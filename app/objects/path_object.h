#pragma once

// The common base of the objects whose shape is a vector outline (circle, rectangle, polygon, text). It holds the
// geometry (centre, unrotated size, rotation), the outline built from it, the five records every outline object
// owns, and everything its classes do alike: handles, moves, resizing and turning, the preview while a gesture
// runs, rendering the fill through the outline, and finding a fill picture that has gone missing. A class adds
// its outline builder, its kind and its stream tag.

#include <memory>

#include "app/objects/page_object.h"
#include "platform/path/path.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFillInfo;
class CEffectSettings;
class CLinkInfo;
class CTextStyle;
class CStringAttr;

class CPathObject : public CPageObject
{
public:
    // A snap turns a handle drag into whole eighths of a turn.
    static constexpr double kSnapStep = 0.78539816339744830962; // pi / 4

    // Every record starts with its own defaults. The outline is left to the class's constructor, which alone
    // knows how to build it.
    CPathObject(double x, double y, const SIZE& size, double rotation);
    CPathObject(double x, double y, const SIZE& size, double rotation, int shapeCode);
    ~CPathObject() override;

    void BeginPlace() override { placing = 1; }
    void EndPlace() override { placing = 0; }
    void BeginTransform() override { moving = 1; }
    void EndTransform() override { moving = 0; }
    void BeginResize() override { resizing = 1; }
    void EndResize() override { resizing = 0; }
    void BeginRotate() override { rotating = 1; }
    void EndRotate() override { rotating = 0; }
    bool IsPlacing() const { return placing != 0; }
    bool IsMoving() const { return moving != 0; }
    bool IsResizing() const { return resizing != 0; }
    bool IsRotating() const { return rotating != 0; }

    int GetShapeCode() const override { return shapeCode; }
    void FreeCaches() override;

    DPOINT& GetCenter(DPOINT& center) const override;
    // A move by whole pixels (within 1e-4) only shifts the cached image; any other move renders again.
    void SetCenter(const DPOINT& center) override;
    void MoveBy(int dx, int dy) override;
    SIZE& GetSize(SIZE& size) const override;
    // Both forms rebuild the outline and render again when the size changes; an equal size does nothing.
    void SetSize(int cx, int cy) override;
    void SetSize(const SIZE& size) override { SetSize(size.cx, size.cy); }
    double GetRotation() const override { return rotation; }
    void SetRotation(double newRotation) override;
    void RotateByHandle(POINT pointer, double startAngle, double startRotation, BYTE snap) override;

    // Stores the centre and nothing else: no outline, handles or image follow.
    void SetCenterRaw(double x, double y);

    bool RenderImage(CPixMap& scratch) override;
    void GetPixels(int x, int y, CPixMap& map, const CColor* background = nullptr) override;
    RECT& GetPaintRect(RECT& rect) const override;
    bool UpdateImage(CPixMap& scratch) override;
    bool CanRenderElsewhere() const override;
    bool PrepareImage() override;
    int RenderPreparedImage(CPixMap& scratch) override;
    bool NeedsImageUpdate() const override;

    bool CanTakeStyle() const override { return true; }
    bool CanHavePictureFill() const override { return true; }
    bool HasFill() const override { return true; }
    bool CanHaveMouseOver() const override { return true; }
    bool CanHaveAltText() const override { return true; }
    bool CanResize() const override { return true; }
    bool CanRotate() const override { return true; }

    CFillInfo* GetFill() const override { return fill.get(); }
    CEffectSettings* GetEffects() const override { return effects.get(); }
    CLinkInfo* GetLink() const override { return link.get(); }
    CStringAttr* GetAltText() const override { return altText.get(); }
    std::unique_ptr<CFillInfo> SetFill(std::unique_ptr<CFillInfo> newFill) override;
    // Every effect is built again for the new record.
    std::unique_ptr<CEffectSettings> SetEffects(std::unique_ptr<CEffectSettings> newEffects) override;
    std::unique_ptr<CLinkInfo> SetLink(std::unique_ptr<CLinkInfo> newLink) override;
    std::unique_ptr<CStringAttr> SetAltText(std::unique_ptr<CStringAttr> newAltText) override;

    // The button text. Taking a record other than the present one renders the fill again. The record it replaces
    // is handed back rather than freed, so that CopyFrom can pass records between objects.
    CTextStyle* GetTextStyle() const { return textStyle.get(); }
    std::unique_ptr<CTextStyle> SetTextStyle(std::unique_ptr<CTextStyle> style);

    void OnPageDeleted(int page) override;
    void ClampPageLinks(int count) override;
    void ResetPageLinks() override;
    void UpdateHandles() override;
    // The area of the bounds divided by divisor; 0 for a divisor that is not positive.
    int GetDownloadSize(double divisor) const override;

    // Exchanges centre, size, rotation, button text and alternate text with another outline object through the
    // setters, so both are rebuilt; doing it twice with the same object restores both. Other classes are ignored.
    void CopyFrom(CPageObject& other) override;

    // Whether two unturned rectangles would give the same image: same size, offsets and equal fill, effect and
    // button-text records. The site builder writes one image file for them.
    bool IsSameRectangle(const CPathObject& other) const;

    const CPath& GetOutline() const { return outline; }
    int GetPendingShiftX() const { return pendingShiftX; }
    int GetPendingShiftY() const { return pendingShiftY; }

protected:
    // The fill's part of UpdateImage: the fill's image made again when it asks for it; false when the object's
    // size cannot be drawn.
    bool UpdateFill();
    // Builds outline from the geometry, in page coordinates and turned; ends with FinishOutline.
    virtual void BuildOutline() = 0;
    // Whether the prepared fill picture is centred on the image (circle, polygon) or sampled from the image's
    // top-left corner (rectangle).
    virtual bool CentresFillContent() const { return true; }

    // A point of the unturned shape turned about the centre with the object's rotation, as the outline and the
    // handles place it.
    DPOINT Turn(double x, double y) const;
    // The bounds of a freshly built outline; no whole-pixel move is pending any more.
    void FinishOutline();
    // After a change of geometry: the fill and the effects are made again, the object renders again.
    void GeometryChanged();
    // Whether the fill is an animated picture, which rectangles and polygons show as it is.
    bool HasAnimatedFill() const;

    // The stream form shared by circle, rectangle and polygon: tag, head and the five records. Loading rebuilds
    // the outline and the handles and leaves the object to render.
    void SaveOutlineObject(CFile& file, DWORD tag) const;
    void LoadOutlineObject(CFile& file, int major, int minor);
    // For Clone (geometry, button text and alternate text) and Duplicate (every record and the offsets).
    void CopySnapshotInto(CPathObject& target) const;
    void CopyAllInto(CPathObject& target) const;

    BYTE placing = 0;
    BYTE moving = 0;
    BYTE resizing = 0;
    BYTE rotating = 0;
    // Null only in undo snapshots (Clone), which hold no fill, effect or link record.
    std::unique_ptr<CFillInfo> fill;
    std::unique_ptr<CEffectSettings> effects;
    std::unique_ptr<CLinkInfo> link;
    std::unique_ptr<CTextStyle> textStyle;
    std::unique_ptr<CStringAttr> altText;
    int width = 0;
    int height = 0;
    double rotation = 0.0;
    double centreX = 0.0;
    double centreY = 0.0;
    CPath outline;
    // Whole-pixel moves since the outline was built; the outline stays where it was and the bounds move instead.
    int pendingShiftX = 0;
    int pendingShiftY = 0;
    int shapeCode = 3;

private:
    // Moves bounds and handles and adds to the pending shift, keeping the image and the outline where they are.
    // The caller moves the centre.
    void ShiftByWholePixels(int dx, int dy);

    // The fill's colour as a COLORREF; black without a fill record.
    COLORREF FillColour() const;
    bool HasButtonText() const;

    // The steps of RenderImage, in order: the target image, the content its tiles sample (the button text drawn
    // upright, then turned with the face), the tiles rasterised through the outline, then the effects and the crop.

    // The cached image when it has the mode and size to be drawn over again (taken from the object), else a new
    // one; null when none can be had.
    std::unique_ptr<CImage> TakeRenderTarget(int imageWidth, int imageHeight);
    // What the tiles take their colour from: the fill's picture, or under button text the picture or the colour
    // with the text drawn on it, scaled to the object's size and turned with it. Null content for a colour fill
    // without text, whose tiles take the colour itself. False when the content cannot be made.
    bool PrepareContent(std::unique_ptr<CImage>& content) const;
    // The fill upright at the object's size, grey widened to RGB, with the button text drawn on it.
    std::unique_ptr<CImage> DrawButtonFace(bool picture) const;
    // An image scaled to the object's size and turned by angle about its middle.
    std::unique_ptr<CImage> FitToObject(const CImage& source, double angle) const;
    // Fills target tile by tile through scratch: the content (or the fill's colour) with the outline's coverage as
    // alpha.
    bool RasteriseTiles(CPixMap& scratch, const CImage* content, CImage& target) const;
    // Lays the effects around target and crops it to the pixels that show, moving newBounds with it. When the
    // effects cannot be made the object takes target as it is and stays dirty, so that the next update tries
    // again; false then, and when the crop fails.
    bool ApplyEffects(CPixMap& scratch, std::unique_ptr<CImage>& target, CRect& newBounds);
};
