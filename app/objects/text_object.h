#pragma once

// The page object that holds rich text: a rectangle whose content is a text body. The text is edited in place on
// the page; for the page it is drawn as an image, rendered upright once per change into the body's two cached
// images and then turned and stretched into the object's image. A text object is plain when nothing forces it to
// be a picture: the site builder then writes it as HTML text.

#include <memory>
#include <string>
#include <vector>

#include "app/model/link_info.h"
#include "app/objects/path_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class PageView;

// Whether two characters need different runs when the text is written out: bold, italic, underline, size, face
// or colour differ, or their links are not equal.
bool CharFormatDiffers(const CTextChar& a, const CTextChar& b);

// One run of the stored form: the index of its format among the distinct formats and the position it ends at.
struct TextFormatRun
{
    int format = 0;
    int end = 0;
};

// What the link panel learns of the selected characters' links: one flag per link field, true when every
// selected character has the same value in it, and whether the link is complete for its kind.
struct TextLinkSameness
{
    bool kind = true;
    bool active = true;
    bool page = true;
    bool email = true;
    bool url = true;
    bool file = true;
    bool target = true;
    bool complete = true;
};

// The link fields a link command changes: each field is applied only when its flag is set.
struct TextLinkFields
{
    bool deactivate = false;
    bool activate = false;
    bool setPage = false;
    int page = 0;
    bool setEmail = false;
    std::string email;
    bool setUrl = false;
    std::string url;
    bool setFile = false;
    std::string file;
    bool setTarget = false;
    int target = 0;
    bool setWholeLink = false;
    CLinkInfo wholeLink;
};

class CTextObject : public CPathObject, public TextBodyOwner
{
public:
    // Above this width or height of the text box a render shows the wait cursor.
    static constexpr int kWaitCursorSide = 256;

    // A new object as the text tool makes it: an empty body of the object's size, no fill, never committed.
    CTextObject(double x, double y, const SIZE& size, double rotation);
    ~CTextObject() override;
    // What the object factory makes before Load.
    static std::unique_ptr<CPageObject> Create();

    // ---- The page object ----

    // A text box is resized and turned only through SetSize and SetRotation: a drag has nothing to prepare.
    void BeginResize() override {}
    void BeginRotate() override {}
    void FreeCaches() override;
    RECT& GetBounds(RECT& rect) const override;
    // While edited the object shows its text box upright.
    SIZE& GetSize(SIZE& size) const override;
    void SetSize(int cx, int cy) override;
    void SetSize(const SIZE& size) override { SetSize(size.cx, size.cy); }
    double GetRotation() const override;
    void SetRotation(double newRotation) override;
    bool RenderImage(CPixMap& scratch) override;
    void GetPixels(int x, int y, CPixMap& map, const CColor* background = nullptr) override;
    RECT& GetPaintRect(RECT& rect) const override;
    bool UpdateImage(CPixMap& scratch) override;
    // What the drawing asks the program's services is asked in PrepareImage; the glyphs are drawn in the render.
    bool CanRenderElsewhere() const override { return true; }
    bool PrepareImage() override;
    int RenderPreparedImage(CPixMap& scratch) override;

    // The picture-only properties are offered only when the body allows advanced text.
    bool CanTakeStyle() const override { return AllowsAdvancedText(); }
    bool CanHavePictureFill() const override { return AllowsAdvancedText(); }
    bool CanHaveAltText() const override { return AllowsAdvancedText(); }
    bool CanResize() const override { return AllowsAdvancedText(); }
    bool CanRotate() const override { return AllowsAdvancedText(); }
    bool CanHaveButtonText() const override { return false; }
    SIZE& GetMinSize(SIZE& size) const override;
    SIZE& GetMaxSize(SIZE& size) const override;

    // Both mark the text modified when the change makes the object plain or no longer plain.
    std::unique_ptr<CFillInfo> SetFill(std::unique_ptr<CFillInfo> newFill) override;
    std::unique_ptr<CEffectSettings> SetEffects(std::unique_ptr<CEffectSettings> newEffects) override;

    // The object's own link and every character's link follow; nothing changes while the text is edited.
    void OnPageDeleted(int page) override;
    void ClampPageLinks(int count) override;
    void ResetPageLinks() override;
    void UpdateHandles() override;
    int GetKind() const override { return objectText; }
    // Plain text costs its characters; a picture its area over divisor.
    int GetDownloadSize(double divisor) const override;

    // Writing a blank text raises the file exception.
    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    // An undo shell: geometry, scale and alternate text, no records, an empty body.
    std::unique_ptr<CPageObject> Clone() const override;
    // A full copy with a clone of the body.
    std::unique_ptr<CPageObject> Duplicate() const override;
    // Exchanges geometry, scale factors and alternate text with another text object; other classes are ignored.
    void CopyFrom(CPageObject& other) override;

    // ---- Text object state ----

    CTextBody* GetTextBody() const { return body.get(); }
    // Takes a new body and becomes its owner, lays it out and renders again. The old body is handed back, no longer
    // owned by this object.
    std::unique_ptr<CTextBody> SetTextBody(std::unique_ptr<CTextBody> newBody);

    double GetScaleX() const { return scaleX; }
    double GetScaleY() const { return scaleY; }
    bool IsEditing() const { return editing != 0; }
    bool IsNewObject() const { return newObject != 0; }
    void SetNewObject(bool isNew) { newObject = isNew ? 1 : 0; }
    bool AllowsAdvancedText() const { return body->m_allowAdvanced != 0; }

    // Enters in-place editing: the object shows its text box upright and the format palettes take the caret's
    // format.
    void BeginEdit();
    // Leaves in-place editing. False when the text is blank (the caller removes or restores the object);
    // otherwise the size follows the text box and the scale factors, and a never-committed object records its
    // creation for undo when record is set.
    bool EndEdit(PageView* view, bool record);

    // Width and height spanned by the laid-out characters; (-200000, -200000) when the body has no paragraph.
    SIZE GetTextSize() const;

    // Plain: no effect, scale 1, no rotation, no fill or a colour fill, no mouse-over twin, no alternate text.
    bool IsPlainObject() const;
    // Removes everything that keeps the object from being plain.
    void MakePlain();

    bool HasLinkedText() const { return body->HasLinkedText(); }
    CLinkInfo GetTextLink() const { return body->GetTextLink(); }
    const CLinkInfo* GetCaretLink() const { return body->GetCaretLink(); }

    // The runs of the stored form: the distinct formats in first-seen order (each a character carrying it), the
    // runs over them and the text with byte 13 between paragraphs. A blank text raises the file exception.
    void CollectFormatRuns(std::vector<CTextChar>& formats, std::vector<TextFormatRun>& runs, std::string& text) const;

    // ---- Caret and selection (text_caret.cpp) ----
    // Every move takes an extend flag: set, the selection grows from the caret's place before the move.

    void MoveCaretLeft(bool extend);
    void MoveCaretRight(bool extend);
    void MoveCaretUp(bool extend);
    void MoveCaretDown(bool extend);
    void MoveCaretLineStart(bool extend);
    void MoveCaretLineEnd(bool extend);
    // By the height of the current view's client area.
    void MoveCaretPageUp(bool extend);
    void MoveCaretPageDown(bool extend);
    // The caret goes to the character boundary at a point in text coordinates.
    void SetCaretFromPoint(int x, int y, bool extend = false);
    void SelectAll();
    // Places the caret after a change: its x and y, its shape, the current view's scrolling and the system caret.
    // The caret's place before the change is given.
    void UpdateCaret(int prevPara, int prevIndex);
    // Adds the ordered selection's rectangle to rect; 0, with rect untouched, when nothing is selected.
    int GetSelectionRect(RECT& rect) const;
    // Adds to rect the full-width band of text coordinates that a range of positions covers.
    void GetRangeRect(RECT& rect, int startPara, int endPara, int startIndex, int endIndex) const;

    // ---- Editing operations (text_editing.cpp; InsertCharWithFormat and SplitParagraph() in text_object.cpp) ----
    // Each starts by marking the text modified; a dirty rectangle, in text coordinates, grows by what to repaint.

    // Typing, with the no-double-blank rule and the format and link of the caret's place.
    void InsertChar(RECT& dirty, BYTE ch, bool relayout);
    // Inserts a character in the given format at the caret, replacing a selection; no layout.
    void InsertCharWithFormat(RECT& dirty, BYTE ch, WORD faceIndex, WORD pointSize, BYTE bold, BYTE italic,
                              BYTE underline, COLORREF color, const CLinkInfo& link);
    // Enter: the caret's paragraph is split at the caret; the first form does not lay out.
    void SplitParagraph();
    void SplitParagraph(RECT& dirty);
    // Backspace (forward false) and Delete (forward true); report adds the changed area and lays out.
    void DeleteChar(RECT& dirty, bool forward, bool report);
    void DeleteSelectedChars(RECT& dirty, bool toStart);
    void DeleteSelection();
    // The clipboard blocks written by WriteSelectionText and WriteSelectionFormatted.
    void PastePlainText(CMemFile& file);
    void PasteFormattedText(CMemFile& file, bool resetPageLinks, bool clampPageLinks);
    void WriteSelectionText(CFile& file) const;
    void WriteSelectionFormatted(CFile& file) const;
    // Attribute 0 face, 1 size, 2 bold, 3 italic, 4 underline, 5 colour (from the body's current font and colour),
    // 6 link (the given one).
    void ApplyFormatToSelection(int attribute, RECT& dirty, const CLinkInfo& link);
    void ApplyLinkFields(RECT& dirty, const TextLinkFields& fields);
    // The format at the caret, or of the selection (face and size 65535, colour 0 where the characters differ);
    // false when there is no character to ask.
    bool QueryCaretFormat(WORD& faceIndex, WORD& pointSize, BYTE& bold, BYTE& italic, BYTE& underline, COLORREF& color,
                          CLinkInfo& link);
    void GetSelectionFormat(TextLinkSameness& same, CLinkInfo& link) const;
    // The word, or the run of linked characters, the caret lies strictly inside.
    bool GetWordBounds(int& start, int& end);
    bool GetLinkRunBounds(int& start, int& end);
    bool GetLinkAtCaret(CLinkInfo& link) const;

    // ---- What the text body asks of its owner ----

    void MarkTextObjectDirty() override { SetDirty(); }
    void GetTextObjectCenter(double& x, double& y) const override;
    void SetTextObjectCenter(double x, double y) override;
    SIZE GetTextObjectSize() const override;
    void GetTextObjectScale(double& x, double& y) const override;
    void SetTextObjectSize(int cx, int cy) override;
    bool IsTextObjectEditing() const override { return IsEditing(); }
    void SetTextObjectBounds(const RECT& rect) override;
    bool IsTextObjectPlain() const override { return IsPlainObject(); }
    bool IsTextObjectLinked() const override;

protected:
    void BuildOutline() override;

private:
    // A point turned about the centre by the rotation the object shows (none while edited).
    DPOINT TurnShown(double x, double y) const;
    // The rectangle of a size centred on the centre, each edge rounded half up.
    CRect CentredRect(int cx, int cy) const;
    // Sets every character's link through change; answers whether any changed.
    template <typename Change> bool ForEachCharLink(Change change);
    // A paste: the selection goes, insert(dirty) puts the block at the caret, then the text is laid out and the
    // caret and the changed area are shown.
    template <typename Insert> void PasteReplacingSelection(Insert insert);
    // After an edit: the caret is moved from where it stood and the changed area repainted.
    void ShowEdit(int prevPara, int prevIndex, const RECT& dirty);
    // Whether the item holding the object has a mouse-over twin; false while no item holds it.
    bool ItemHasMouseOverTwin() const;

    double scaleX = 1.0;
    double scaleY = 1.0;
    BYTE editing = 0;
    BYTE newObject = 1;
    std::unique_ptr<CTextBody> body;
    // What PrepareImage asked the services and the item, for the render that follows.
    TextServiceAnswers m_answers;
};
