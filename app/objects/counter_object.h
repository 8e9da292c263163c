#pragma once

// The hit counter: a fixed picture of a row of digits in one of four styles. It only moves; it carries a counter
// number, by which the server tells the counters apart, and a link.

#include <memory>

#include "app/objects/page_object.h"
#include "app/objects/placed_image.h"

class CLinkInfo;

class CCounterObject : public CPlacedObject
{
public:
    // The styles a file may hold.
    static constexpr int kStyleCount = 4;
    // The bytes a counter adds to its page, whatever it shows.
    static constexpr int kDownloadSize = 1500;

    // From the counter tool: the picture centred on the point as nearly as whole pixels allow.
    CCounterObject(int style, POINT centre);
    // From a style and a centre; moved half a pixel up or left where the picture's side is odd.
    CCounterObject(int style, double cx, double cy);
    ~CCounterObject() override;
    // What the object factory makes before Load: style 0 at (0, 0).
    static std::unique_ptr<CPageObject> Create();

    // The bitmap resource of a style's picture.
    static unsigned StyleBitmap(int style);

    int GetStyle() const { return style; }
    // A new style re-renders at once, keeping the top-left corner.
    void SetStyle(int newStyle);
    int GetCounterNumber() const { return counterNumber; }
    // The counter's link record; the root's GetLink answers null for counters, as the palettes offer no link for
    // them.
    CLinkInfo* GetCounterLink() const { return link.get(); }

    bool UpdateImage(CPixMap& scratch) override;
    void OnPageDeleted(int page) override;
    void ClampPageLinks(int count) override;
    void ResetPageLinks() override;
    int GetKind() const override { return objectCounter; }
    int GetDownloadSize(double divisor) const override;
    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    std::unique_ptr<CPageObject> Clone() const override;
    void CopyFrom(CPageObject& other) override;

private:
    // Renders the picture of the style when dirty; false, with nothing changed, when it cannot be made.
    bool Render();

    int style = 0;
    std::unique_ptr<CLinkInfo> link;
    int counterNumber = 0;
};

// The next free counter number, taken from the user's settings (or, while none are installed, from the program's
// own count), which then moves past it.
int TakeCounterNumber();
// Moves the next free number past one that a counter already carries, so that no new counter shares it.
void NoteCounterNumber(int number);
