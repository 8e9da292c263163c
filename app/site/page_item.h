#pragma once

// One entry of a page's z-ordered item list: a page object and, optionally, its mouse-over twin of the same kind
// that the built page shows while the pointer is over the first. The item knows which of the two the user edits,
// keeps the two together through geometry edits, snaps them to whole pixels, and stores itself behind its tag.

#include <memory>

#include "app/objects/page_object.h"
#include "app/site/site_geometry.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CObjectFrame;

class CPageItem : public ObjectHolder
{
public:
    static constexpr DWORD kTag = 0x8b23c79a;

    // Takes the object; no twin, main object shown, same text, no frame.
    CPageItem(std::unique_ptr<CPageObject> object, CPixMap* renderBuffer);
    CPageItem(const CPageItem&) = delete;
    CPageItem& operator=(const CPageItem&) = delete;
    virtual ~CPageItem();

    // The object the user edits: the twin while it is shown, else the main object. Nearly every editing path
    // works on this one.
    CPageObject* GetCurrentObject() const;
    CPageObject* GetObject(bool mouseOver) const { return mouseOver ? m_pMouseOverObject.get() : m_pObject.get(); }
    bool HasMouseOver() const { return m_bHasMouseOver; }
    bool IsMouseOverShown() const { return m_bMouseOverShown; }
    bool IsSameText() const { return m_bSameText; }
    // What the objects ask of it.
    bool HasMouseOverTwin() const override { return m_bHasMouseOver; }
    void CopyTextToMouseOverTwin(const CPageObject& edited) override;

    CObjectFrame* GetGroup() const { return m_pGroup; }
    // The page and the frames keep this pointer in step with the frames' member lists.
    void SetGroup(CObjectFrame* group) { m_pGroup = group; }
    bool IsSelected() const;

    CPixMap* GetRenderBuffer() const { return m_pRenderBuffer; }
    void SetRenderBuffer(CPixMap* renderBuffer) { m_pRenderBuffer = renderBuffer; }

    // Replaces any twin with the given one and shows it at once.
    void SetMouseOverObject(std::unique_ptr<CPageObject> object);
    // Detaches the twin and hands it back; the main object is shown again.
    std::unique_ptr<CPageObject> RemoveMouseOverObject();
    void SetMouseOverShown(bool shown) { m_bMouseOverShown = shown; }
    void SetSameText(bool same);
    // The shown object's button text goes to the other one as well.
    void CopyTextToOtherState();

    // The twin's shift from the main object; 0 without a twin.
    int GetMouseOverOffsetX() const;
    int GetMouseOverOffsetY() const;
    void SetMouseOverOffsetX(int x);
    void SetMouseOverOffsetY(int y);

    // The current object's bounds, its paint rectangle, and their union.
    CRect GetRect() const;
    CRect GetPaintRect() const;
    CRect GetFullRect() const;

    // Both objects move together, so that the twin keeps its offset.
    void Offset(int dx, int dy);
    void SetCenter(const DPOINT& center);

    // Renders both objects through the render buffer, then the frame's bounds follow; false when either fails.
    virtual bool UpdateImage();
    // UpdateImage split for renders spread over threads, when CanRenderElsewhere: PrepareImage on the
    // user-interface thread, RenderPreparedImage with what it returned on any thread with a scratch map of its own
    // (a CPageObject::RenderResult), then back on the first thread FinishPreparedImage with whether it rendered,
    // or UpdateImage when it answered renderOnCaller.
    struct Prepared
    {
        bool main = false;
        bool twin = false;
    };
    bool CanRenderElsewhere() const;
    Prepared PrepareImage();
    bool NeedsImageUpdate() const;
    int RenderPreparedImage(const Prepared& prepared, CPixMap& scratch);
    void FinishPreparedImage(bool rendered);
    void FreeCaches();
    int GetDownloadSize(double divisor) const;
    void OnPageDeleted(int page);
    void ClampPageLinks(int count);
    void ResetPageLinks();

    // Sizes the current object while it is dragged out from anchor to pointer; square makes it a square of the
    // smaller side. Counters and forms are only moved there.
    void ResizeByDrag(POINT anchor, POINT pointer, bool square);
    // Drags one of the four edge handles (1 top, 3 left, 4 right, 6 bottom) of the current object. square gives
    // both sides the dragged one's length; proportional keeps the width-to-height ratio taken at the first step.
    // True when the drag crossed over the opposite side.
    bool ResizeByHandle(int handle, POINT pointer, bool square, bool proportional, bool firstStep);
    void RotateByHandle(POINT pointer, double startAngle, double startRotation, BYTE snap);
    // Brings a right-angled object onto whole or half pixels, so that its edges fall on pixel edges.
    void SnapToPixels();

    // Counters, forms, pictures kept as their file and text without advanced text stay above all other items (the
    // built page places them as HTML elements, which cover any picture).
    bool IsKeptOnTop() const;
    // A rectangle showing a GIF file as it is; the site builder copies the file instead of rendering it.
    bool IsGifPicture() const;

    // False when the stream fails.
    bool Save(CFile& file) const;
    // Null for a wrong tag, an object that cannot be read, a twin that is missing or of another kind, or a stream
    // that fails; nothing read is leaked.
    static std::unique_ptr<CPageItem> Load(CFile& file, CPixMap* renderBuffer, int major, int minor);

private:
    std::unique_ptr<CPageObject> m_pObject;
    std::unique_ptr<CPageObject> m_pMouseOverObject;
    bool m_bHasMouseOver = false;
    bool m_bMouseOverShown = false;
    bool m_bSameText = true;
    // Width over height of the current object when a proportional handle drag began.
    double m_dAspect = 1.0;
    CPixMap* m_pRenderBuffer;
    CObjectFrame* m_pGroup = nullptr;
};
