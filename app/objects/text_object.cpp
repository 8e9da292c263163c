#include "app/objects/text_object.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/undo_manager.h"
#include "app/model/services.h"
#include "app/model/string_attr.h"
#include "app/objects/object_factory.h"
#include "app/objects/outline_pixels.h"
#include "app/objects/outline_stream.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/render/object_effects.h"
#include "image/image_ops.h"
#include "image/tiles.h"
#include "platform/transform/rotate_scale.h"

namespace {

// The smallest a format record can be: name length, size, three flags and the colour, with an inactive link.
constexpr ULONGLONG kMinFormatRecordBytes = 4 + 2 + 1 + 1 + 1 + 4;
constexpr ULONGLONG kRunBytes = 8;

// Renders of large text boxes may nest (a page draws several); the cursor is begun by the outermost only.
int g_waitCursorDepth = 0;

class TextWaitCursor
{
public:
    explicit TextWaitCursor(bool show) : m_show(show)
    {
        if (m_show && g_waitCursorDepth++ == 0)
            GetCoreServices().BeginWaitCursor();
    }
    ~TextWaitCursor()
    {
        if (m_show && --g_waitCursorDepth == 0)
            GetCoreServices().EndWaitCursor();
    }
    TextWaitCursor(const TextWaitCursor&) = delete;
    TextWaitCursor& operator=(const TextWaitCursor&) = delete;

private:
    bool m_show;
};

int TruncateToInt(double v)
{
    if (!(v > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(v < std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// The left (or top) edge of a length centred on c: truncated toward zero, one more when the dropped part is at
// least a half.
int HalfUpEdge(double c, int length)
{
    const double edge = c - length / 2.0;
    const int whole = TruncateToInt(edge);
    return edge - whole >= 0.5 && whole < std::numeric_limits<int>::max() ? whole + 1 : whole;
}

bool IsPlainFillKind(int kind)
{
    return kind == CFillInfo::FILL_COLOR || kind == CFillInfo::FILL_NONE;
}

ULONGLONG BytesLeft(const CFile& file)
{
    const ULONGLONG length = file.GetLength(), position = file.GetPosition();
    return length > position ? length - position : 0;
}

// A count read from the file that must be at least 1 and fit, at minBytes each, in what remains of the file.
int ReadCount(CFile& file, ULONGLONG minBytes)
{
    const int32_t count = ReadInt32(file);
    if (count < 1 || static_cast<ULONGLONG>(count) * minBytes > BytesLeft(file))
        ThrowBadRecord();
    return count;
}

bool IsFinite(double v)
{
    return std::isfinite(v);
}

// The largest text box a record holds on either side: the largest size a text object takes. No text of the
// program's font sizes lays out anywhere near it, and a box beyond it is no text the program could draw.
constexpr int kMaxStoredTextBox = 1000000;

bool IsStoredTextBox(int width, int height)
{
    return width >= 0 && height >= 0 && width <= kMaxStoredTextBox && height <= kMaxStoredTextBox;
}

// The object's size is the text box times the scale, so a scale must be a positive number.
bool IsStoredScale(double scale)
{
    return IsFinite(scale) && scale > 0.0;
}

// What the reader takes of a text's geometry. The writer refuses anything else, so that a file it wrote opens.
bool IsStoredTextGeometry(int width, int height, double rotation, double centreX, double centreY, int boxWidth,
                          int boxHeight, double scaleX, double scaleY)
{
    return width >= 0 && height >= 0 && IsFinite(rotation) && IsStoredCoordinate(centreX) &&
           IsStoredCoordinate(centreY) && IsStoredTextBox(boxWidth, boxHeight) && IsStoredScale(scaleX) &&
           IsStoredScale(scaleY);
}

int FindRunFormat(const std::vector<CTextChar>& formats, const CTextChar& ch)
{
    for (size_t i = 0; i < formats.size(); ++i)
        if (!CharFormatDiffers(formats[i], ch))
            return static_cast<int>(i);
    return -1;
}

// Whether any pixel of an alpha-first RGB image shows.
bool HasVisiblePixel(const CImage& image)
{
    for (int j = 0; j < image.Height(); ++j) {
        const unsigned char* row = image.GetData() + static_cast<ptrdiff_t>(j) * image.GetStride();
        for (int i = 0; i < image.Width(); ++i)
            if (row[4 * i] != 0)
                return true;
    }
    return false;
}

} // namespace

bool CharFormatDiffers(const CTextChar& a, const CTextChar& b)
{
    return a.m_bBold != b.m_bBold || a.m_bItalic != b.m_bItalic || a.m_bUnderline != b.m_bUnderline ||
           a.m_nPointSize != b.m_nPointSize || a.m_nFaceIndex != b.m_nFaceIndex || a.m_color != b.m_color ||
           !(a.m_link == b.m_link);
}

CTextObject::CTextObject(double x, double y, const SIZE& size, double rotation)
    : CPathObject(x, y, size, rotation), body(std::make_unique<CTextBody>(this, size.cx, size.cy))
{
    fill->SetNone();
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

CTextObject::~CTextObject() = default;

std::unique_ptr<CPageObject> CTextObject::Create()
{
    return std::make_unique<CTextObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

CRect CTextObject::CentredRect(int cx, int cy) const
{
    // A text stored far out keeps a rectangle that int can hold: its edges stop at the limit.
    const auto at = [](int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); };
    const int64_t left = int64_t(HalfUpEdge(centreX, cx)) + offsetX, top = int64_t(HalfUpEdge(centreY, cy)) + offsetY;
    return CRect(at(left), at(top), at(left + cx), at(top + cy));
}

// ---- Geometry ----

DPOINT CTextObject::TurnShown(double x, double y) const
{
    const double angle = -GetRotation();
    const double dx = x - centreX, dy = y - centreY;
    return DPOINT{centreX + dx * std::cos(angle) - dy * std::sin(angle),
                  centreY + dx * std::sin(angle) + dy * std::cos(angle)};
}

void CTextObject::BuildOutline()
{
    SIZE size;
    GetSize(size);
    const double left = centreX - size.cx / 2.0, top = centreY - size.cy / 2.0;
    const double right = left + size.cx, bottom = top + size.cy;
    const DPOINT corners[4] = {TurnShown(left, top), TurnShown(right, top), TurnShown(right, bottom),
                               TurnShown(left, bottom)};
    outline.Clear();
    outline.MoveTo(corners[0].x, corners[0].y);
    for (int i = 1; i < 4; ++i)
        outline.LineTo(corners[i].x, corners[i].y);
    outline.Close();
    FinishOutline();
    // While edited the object stands upright on its text box.
    if (editing)
        bounds = CentredRect(body->m_nWidth, body->m_nHeight);
}

void CTextObject::UpdateHandles()
{
    SIZE size;
    GetSize(size);
    const double left = centreX - size.cx / 2.0, top = centreY - size.cy / 2.0;
    const double right = left + size.cx, bottom = top + size.cy;
    const DPOINT unturned[kHandleCount] = {{left, top},      {centreX, top}, {right, top},      {left, centreY},
                                           {right, centreY}, {left, bottom}, {centreX, bottom}, {right, bottom}};
    // The centre already holds every whole-pixel move, so the pending shift is not added again.
    for (int i = 0; i < kHandleCount; ++i) {
        const DPOINT p = TurnShown(unturned[i].x, unturned[i].y);
        handles[i] = DPOINT{p.x + offsetX, p.y + offsetY};
    }
}

RECT& CTextObject::GetBounds(RECT& rect) const
{
    if (dirty && !editing) {
        CRect box = outline.GetBoundingBox();
        box.OffsetRect(offsetX + pendingShiftX, offsetY + pendingShiftY);
        rect = box;
        return rect;
    }
    rect = bounds;
    return rect;
}

SIZE& CTextObject::GetSize(SIZE& size) const
{
    size = editing ? SIZE{body->m_nWidth, body->m_nHeight} : SIZE{width, height};
    return size;
}

void CTextObject::SetSize(int cx, int cy)
{
    if (editing) {
        // The text reflows in a box never narrower than a character and a half.
        const double minWidth = 1.5 * body->m_nWidestChar + 2;
        const int newWidth = cx <= minWidth ? TruncateToInt(minWidth) : cx;
        const int newHeight = cy <= 3.5 ? 3 : cy;
        body->m_nWidth = newWidth;
        body->m_nHeight = newHeight;
        body->SetModified();
    } else {
        // The text is stretched; a collapsed drag keeps at least a pixel so that the scale stays positive.
        cx = std::max(cx, 1);
        cy = std::max(cy, 1);
        if (IsPlainObject())
            body->SetModified();
        scaleX = body->m_nWidth > 0 ? static_cast<double>(cx) / body->m_nWidth : 1.0;
        scaleY = body->m_nHeight > 0 ? static_cast<double>(cy) / body->m_nHeight : 1.0;
        width = cx;
        height = cy;
    }
    SetDirty();
    if (effects)
        effects->m_bRebuild = true;
    BuildOutline();
    UpdateHandles();
}

double CTextObject::GetRotation() const
{
    return editing ? 0.0 : rotation;
}

void CTextObject::SetRotation(double newRotation)
{
    if (IsPlainObject())
        body->SetModified();
    rotation = newRotation;
    SetDirty();
    if (effects)
        effects->m_bRebuild = true;
    BuildOutline();
    UpdateHandles();
}

SIZE& CTextObject::GetMinSize(SIZE& size) const
{
    if (!editing) {
        size = SIZE{1, 1};
        return size;
    }
    size = SIZE{TruncateToInt(1.5 * body->m_nWidestChar + 2), TruncateToInt(1.5 * body->m_nTallestChar + 2)};
    return size;
}

SIZE& CTextObject::GetMaxSize(SIZE& size) const
{
    size = SIZE{1000000, 1000000};
    return size;
}

RECT& CTextObject::GetPaintRect(RECT& rect) const
{
    CPathObject::GetPaintRect(rect);
    if (editing) {
        // The caret and the selection reach a little beyond the text box.
        rect.left -= 1;
        rect.right += 1;
        rect.top -= 2;
        rect.bottom += 2;
    }
    return rect;
}

// ---- Records ----

std::unique_ptr<CFillInfo> CTextObject::SetFill(std::unique_ptr<CFillInfo> newFill)
{
    const bool wasPlain = IsPlainObject();
    std::unique_ptr<CFillInfo> old = CPathObject::SetFill(std::move(newFill));
    if (IsPlainObject() != wasPlain)
        body->SetModified();
    return old;
}

std::unique_ptr<CEffectSettings> CTextObject::SetEffects(std::unique_ptr<CEffectSettings> newEffects)
{
    const bool wasPlain = IsPlainObject();
    std::unique_ptr<CEffectSettings> old = CPathObject::SetEffects(std::move(newEffects));
    if (IsPlainObject() != wasPlain)
        body->SetModified();
    return old;
}

template <typename Change> bool CTextObject::ForEachCharLink(Change change)
{
    bool changed = false;
    for (CTextParagraph& para : body->m_paragraphs)
        for (CTextChar& ch : para.m_chars)
            changed = change(ch.m_link) || changed;
    return changed;
}

void CTextObject::OnPageDeleted(int page)
{
    if (editing)
        return;
    CPathObject::OnPageDeleted(page);
    if (ForEachCharLink([page](CLinkInfo& l) { return l.OnPageDeleted(page); }))
        body->SetModified();
}

void CTextObject::ClampPageLinks(int count)
{
    if (editing)
        return;
    CPathObject::ClampPageLinks(count);
    ForEachCharLink([count](CLinkInfo& l) {
        l.ClampPageNumber(count);
        return false;
    });
}

void CTextObject::ResetPageLinks()
{
    if (editing)
        return;
    CPathObject::ResetPageLinks();
    ForEachCharLink([](CLinkInfo& l) {
        l.ResetPageNumber();
        return false;
    });
}

int CTextObject::GetDownloadSize(double divisor) const
{
    if (IsPlainObject())
        return TruncateToInt(body->GetCharCount() * 1.05 + 200);
    return CPathObject::GetDownloadSize(divisor);
}

// ---- Plainness ----

bool CTextObject::IsPlainObject() const
{
    if (effects && effects->HasEffects())
        return false;
    if (scaleX != 1.0 || scaleY != 1.0)
        return false;
    if (rotation != 0.0)
        return false;
    if (fill && !IsPlainFillKind(fill->GetKind()))
        return false;
    if (GetCoreServices().HasMouseOverTwin(this))
        return false;
    return !altText || altText->IsEmpty();
}

void CTextObject::MakePlain()
{
    SetSize(body->m_nWidth, body->m_nHeight);
    SetRotation(0.0);
    if (fill && !IsPlainFillKind(fill->GetKind()))
        fill->SetNone();
    body->SetModified();
    if (effects) {
        effects->m_bShadow = false;
        effects->m_bBevel = false;
        effects->m_bGlow = false;
    }
    if (link)
        link->SetActive(false);
    if (altText)
        altText->SetString(std::string());
}

// ---- The text body ----

std::unique_ptr<CTextBody> CTextObject::SetTextBody(std::unique_ptr<CTextBody> newBody)
{
    if (!newBody)
        return nullptr;
    std::swap(body, newBody);
    body->SetOwner(this);
    RECT dirtyRect{};
    LayoutText(*body, dirtyRect);
    body->SetModified();
    SetDirty();
    if (fill)
        fill->SetRenderAgain();
    if (effects)
        effects->m_bRebuild = true;
    BuildOutline();
    UpdateHandles();
    GetCoreServices().InvalidateView(GetCurrentView(), false);
    // The body handed back may outlive this object; it must not reach it any more.
    newBody->SetOwner(nullptr);
    return newBody;
}

SIZE CTextObject::GetTextSize() const
{
    if (body->m_paragraphs.empty())
        return SIZE{-200000, -200000};
    int left = 100000, top = 100000, right = -100000, bottom = -100000;
    for (const CTextParagraph& para : body->m_paragraphs)
        for (const CTextChar& ch : para.m_chars) {
            if (!ch.IsPlaced())
                continue;
            const CRect box = ch.GetBox();
            left = std::min<int>(left, box.left);
            right = std::max<int>(right, box.right);
            top = std::min<int>(top, box.top);
            bottom = std::max<int>(bottom, box.bottom);
        }
    return SIZE{right - left, bottom - top};
}

// ---- Editing in place ----

void CTextObject::BeginEdit()
{
    const CAppSettings defaults;
    CAppSettings* settings = GetAppSettings();
    const CAppSettings& current = settings ? *settings : defaults;
    WORD faceIndex = FindFontIndex(current.m_strTextFont);
    WORD pointSize = static_cast<WORD>(std::clamp(current.m_nTextFontSize, 0, 65535));
    BYTE bold = current.m_bTextBold, italic = current.m_bTextItalic, underline = current.m_bTextUnderline;
    COLORREF color = current.m_textColor.GetCOLORREF();
    CLinkInfo caretLink;

    editing = 1;
    bounds = CentredRect(body->m_nWidth, body->m_nHeight);
    UpdateHandles();

    QueryCaretFormat(faceIndex, pointSize, bold, italic, underline, color, caretLink);
    // The palettes show the caret's format; a face or size that differs across a selection leaves them as set.
    if (settings) {
        if (const std::string face = GetTextFaceName(faceIndex); faceIndex < 65535 && !face.empty())
            settings->m_strTextFont = face;
        if (pointSize < 65535)
            settings->m_nTextFontSize = pointSize;
        settings->m_textColor = CColor(color);
        settings->m_bTextBold = bold;
        settings->m_bTextItalic = italic;
        settings->m_bTextUnderline = underline;
    }
}

bool CTextObject::EndEdit(COrvelView* view, bool record)
{
    CoreServices& services = GetCoreServices();
    editing = 0;
    if (services.IsCaretShown(view))
        services.HideViewCaret(view);
    services.EndPageTextEditing(view);

    if (body->IsBlank())
        return false;
    if (newObject) {
        if (record)
            services.RecordViewPageUndo(view, UndoKind::objectsAdded);
        newObject = 0;
    }
    width = std::max(1, TruncateToInt(body->m_nWidth * scaleX));
    height = std::max(1, TruncateToInt(body->m_nHeight * scaleY));
    BuildOutline();
    UpdateHandles();
    SetDirty();
    if (effects) {
        effects->m_shadowCache.m_nSoftness = -1;
        effects->m_bevelCache.m_nSoftness = -1;
        effects->m_glowCache.m_nSoftness = -1;
    }
    services.CopyTextToMouseOverTwin(this);
    return true;
}

// ---- Rendering ----

void CTextObject::FreeCaches()
{
    CPathObject::FreeCaches();
    body->FreeCoverageImage();
    body->FreeColorImage();
}

void CTextObject::GetPixels(int x, int y, CPixMap& map, const CColor* background)
{
    const bool silhouette = dirty != 0;
    CPathObject::GetPixels(x, y, map, background);
    if (!silhouette || !detail::IsAlphaRgbMap(map))
        return;
    // A text not rendered yet shows as a half-transparent box.
    for (int j = 0; j < map.height; ++j)
        for (int i = 0; i < map.width; ++i) {
            unsigned char* alpha = map.Sample(i, j, 0);
            *alpha = static_cast<unsigned char>(*alpha / 2);
        }
}

bool CTextObject::UpdateImage(CPixMap& scratch)
{
    if (!body->RebuildImage() || !body->RebuildSecondImage())
        return false;
    return CPathObject::UpdateImage(scratch);
}

bool CTextObject::RenderImage(CPixMap& scratch)
{
    if (!detail::IsAlphaRgbMap(scratch) || !scratch.interleaved)
        return false;
    const TextWaitCursor wait(body->m_nWidth > kWaitCursorSide || body->m_nHeight > kWaitCursorSide);
    if (!body->RebuildImage() || !body->RebuildSecondImage())
        return false;
    // Nothing shows (a text box without area, or no ink): a single clear pixel at the centre keeps the object
    // findable on the page.
    const auto showNothing = [this] {
        image = std::make_unique<CImage>(IMAGE_MODE_RGBA, 1, 1, 96.0);
        bounds = CentredRect(1, 1);
        dirty = 0;
        return true;
    };
    if (!body->m_pCoverageImage || !body->m_pColorImage)
        return showNothing();

    // Turned the way the outline is, so that the text fills the handles' frame.
    const int targetW = std::max(width, 1), targetH = std::max(height, 1);
    const DPOINT middle{targetW * 0.5, targetH * 0.5};
    auto fit = [&](const CImage& source) {
        return CRotateScale(source).Transform(targetW, targetH, rotation, &middle, nullptr);
    };
    std::unique_ptr<CImage> coverage = fit(*body->m_pCoverageImage);
    if (!coverage)
        return false;

    std::unique_ptr<CImage> colours;
    const int kind = fill ? fill->GetKind() : CFillInfo::FILL_NONE;
    if (kind == CFillInfo::FILL_NONE) {
        colours = fit(*body->m_pColorImage);
    } else if (kind != CFillInfo::FILL_COLOR) {
        if (!fill->GetImage())
            return false;
        colours = WidenGreyToRgb(fit(*fill->GetImage()));
    }
    if (kind != CFillInfo::FILL_COLOR &&
        (!colours || colours->Width() != coverage->Width() || colours->Height() != coverage->Height()))
        return false;
    const COLORREF fillColour = fill ? fill->GetColor().GetCOLORREF() : 0;

    const int imageW = coverage->Width(), imageH = coverage->Height();
    std::unique_ptr<CImage> target;
    if (image && image->GetMode() == IMAGE_MODE_RGBA && image->Width() == imageW && image->Height() == imageH &&
        !image->IsEmpty())
        target = std::move(image);
    else
        target = std::make_unique<CImage>(IMAGE_MODE_RGBA, imageW, imageH, 96.0, CImage::ForOverwrite{});
    if (target->IsEmpty())
        return false;

    CPixMap view(IMAGE_MODE_RGBA, 0, 0);
    const bool tiled = ForEachTile(scratch, imageW, imageH, [&](int x, int y) {
        detail::AimMapAt(view, *target, x, y, scratch.width, scratch.height);
        if (colours)
            colours->GetBuf(x, y, view, MASK_EDGE_REPEAT);
        else
            detail::FillColourPlanes(view, fillColour);
        for (int j = 0; j < view.height; ++j) {
            const unsigned char* a = coverage->GetData() + static_cast<ptrdiff_t>(y + j) * coverage->GetStride() + x;
            for (int i = 0; i < view.width; ++i)
                *view.Sample(i, j, 0) = a[i];
        }
        return true;
    });
    if (!tiled)
        return false;

    CRect newBounds = CentredRect(imageW, imageH);
    if (effects && effects->HasEffects() && !RenderEffects(target, newBounds, *effects)) {
        image = std::move(target);
        bounds = newBounds;
        return false;
    }
    if (!HasVisiblePixel(*target))
        return showNothing();
    if (!detail::CropToVisible(scratch, target, newBounds))
        return false;
    image = std::move(target);
    bounds = newBounds;
    dirty = 0;
    return true;
}

// ---- Stream form ----

void CTextObject::CollectFormatRuns(std::vector<CTextChar>& formats, std::vector<TextFormatRun>& runs,
                                    std::string& text) const
{
    if (body->IsBlank())
        ThrowBadRecord();
    formats.clear();
    runs.clear();
    text.clear();
    std::vector<const CTextChar*> runFormats;
    int position = 0;
    for (size_t p = 0; p < body->m_paragraphs.size(); ++p) {
        if (p > 0) {
            text.push_back('\r');
            ++position;
        }
        for (const CTextChar& ch : body->m_paragraphs[p].m_chars) {
            if (runFormats.empty() || CharFormatDiffers(*runFormats.back(), ch)) {
                if (!runs.empty())
                    runs.back().end = position;
                runFormats.push_back(&ch);
                runs.push_back(TextFormatRun{});
            }
            text.push_back(static_cast<char>(ch.m_ch));
            ++position;
        }
    }
    runs.back().end = position;
    for (size_t r = 0; r < runs.size(); ++r) {
        int index = FindRunFormat(formats, *runFormats[r]);
        if (index < 0) {
            index = static_cast<int>(formats.size());
            formats.push_back(*runFormats[r]);
        }
        runs[r].format = index;
    }
}

void CTextObject::Save(CFile& file) const
{
    std::vector<CTextChar> formats;
    std::vector<TextFormatRun> runs;
    std::string text;
    CollectFormatRuns(formats, runs, text);
    // A record the reader refuses would keep the whole site from opening: nothing is written instead.
    if (!IsStoredTextGeometry(width, height, rotation, centreX, centreY, body->m_nWidth, body->m_nHeight, scaleX,
                              scaleY))
        ThrowBadRecord();

    WriteUInt32(file, kTextObjectTag);
    WriteInt32(file, width);
    WriteInt32(file, height);
    WriteDouble(file, rotation);
    WriteDouble(file, centreX);
    WriteDouble(file, centreY);
    WriteInt32(file, bounds.left);
    WriteInt32(file, bounds.top);
    WriteInt32(file, bounds.right);
    WriteInt32(file, bounds.bottom);
    WriteInt32(file, body->m_nAlignment);
    WriteInt32(file, body->m_nWidth);
    WriteInt32(file, body->m_nHeight);
    WriteByte(file, body->m_bAllowAdvanced);
    (altText ? *altText : CStringAttr()).Write(file);
    WriteDouble(file, scaleX);
    WriteDouble(file, scaleY);
    WriteInt32(file, offsetX);
    WriteInt32(file, offsetY);
    WriteInt32(file, static_cast<int32_t>(formats.size()));
    for (const CTextChar& format : formats)
        format.WriteFormat(file);
    WriteInt32(file, static_cast<int32_t>(runs.size()));
    for (const TextFormatRun& run : runs) {
        WriteInt32(file, run.format);
        WriteInt32(file, run.end);
    }
    WriteInt32(file, static_cast<int32_t>(text.size()));
    file.Write(text.data(), static_cast<UINT>(text.size()));
    (fill ? *fill : CFillInfo()).Write(file);
    (effects ? *effects : CEffectSettings()).Write(file);
    (link ? *link : CLinkInfo()).Write(file);
}

void CTextObject::Load(CFile& file, int major, int minor)
{
    // Everything is read before the object changes, so that bad data leaves it as it was; only a text whose laid-out
    // geometry the writer would refuse is found after it was built (and the factory then lets it go).
    const int32_t newWidth = ReadInt32(file);
    const int32_t newHeight = ReadInt32(file);
    if (newWidth < 0 || newHeight < 0)
        ThrowBadRecord();
    const double newRotation = ReadDouble(file);
    const double newCentreX = ReadDouble(file);
    const double newCentreY = ReadDouble(file);
    CRect newBounds;
    newBounds.left = ReadInt32(file);
    newBounds.top = ReadInt32(file);
    newBounds.right = ReadInt32(file);
    newBounds.bottom = ReadInt32(file);
    const int32_t alignment = ReadInt32(file);
    const int32_t boxWidth = ReadInt32(file);
    const int32_t boxHeight = ReadInt32(file);
    if (!IsFinite(newRotation) || !IsStoredCoordinate(newCentreX) || !IsStoredCoordinate(newCentreY) ||
        !IsStoredTextBox(boxWidth, boxHeight))
        ThrowBadRecord();
    const bool hasAdvancedByte = major >= 2 || (major == 1 && (minor == 1 || minor >= 4));
    const BYTE allowAdvanced = hasAdvancedByte ? ReadByte(file) : 0;
    auto newAltText = std::make_unique<CStringAttr>();
    newAltText->Read(file, major, minor);
    const double newScaleX = ReadDouble(file);
    const double newScaleY = ReadDouble(file);
    if (!IsStoredScale(newScaleX) || !IsStoredScale(newScaleY))
        ThrowBadRecord();
    // The offsets belong to the item's twin, which sets them again when it places the object.
    (void)ReadInt32(file);
    (void)ReadInt32(file);

    const int formatCount = ReadCount(file, kMinFormatRecordBytes);
    std::vector<CTextChar> formats(static_cast<size_t>(formatCount));
    for (CTextChar& format : formats)
        format.ReadFormat(file, major, minor);
    const int runCount = ReadCount(file, kRunBytes);
    std::vector<TextFormatRun> runs(static_cast<size_t>(runCount));
    int previousEnd = 0;
    for (TextFormatRun& run : runs) {
        run.format = ReadInt32(file);
        run.end = ReadInt32(file);
        if (run.format < 0 || run.format >= formatCount || run.end <= previousEnd)
            ThrowBadRecord();
        previousEnd = run.end;
    }
    const int32_t textLength = ReadInt32(file);
    if (textLength < 0 || static_cast<ULONGLONG>(textLength) > BytesLeft(file))
        ThrowBadRecord();
    std::string text(static_cast<size_t>(textLength), '\0');
    ReadExact(file, text.data(), static_cast<UINT>(textLength));
    // The writer refuses a blank text, so a file that holds one is damaged.
    if (text.find_first_not_of(" \r") == std::string::npos)
        ThrowBadRecord();
    auto newFill = std::make_unique<CFillInfo>();
    newFill->Read(file, major, minor);
    auto newEffects = std::make_unique<CEffectSettings>();
    newEffects->Read(file, major, minor);
    auto newLink = std::make_unique<CLinkInfo>();
    newLink->Read(file, major, minor);

    // The text is built in a body of its own and only then taken.
    editing = 0;
    width = newWidth;
    height = newHeight;
    rotation = newRotation;
    centreX = newCentreX;
    centreY = newCentreY;
    bounds = newBounds;
    scaleX = newScaleX;
    scaleY = newScaleY;
    offsetX = 0;
    offsetY = 0;
    altText = std::move(newAltText);
    fill = std::move(newFill);
    effects = std::move(newEffects);
    link = std::move(newLink);
    image.reset();
    body = std::make_unique<CTextBody>(this, boxWidth, boxHeight);
    body->m_nAlignment = alignment;
    body->m_bAllowAdvanced = allowAdvanced;

    RECT dirtyRect{};
    size_t run = 0;
    const CTextChar* format = &formats[static_cast<size_t>(runs[0].format)];
    for (int position = 0; position < textLength; ++position) {
        // A last run that ends early leaves the rest of the text in its format.
        if (position == runs[run].end && run + 1 < runs.size()) {
            ++run;
            format = &formats[static_cast<size_t>(runs[run].format)];
        }
        const BYTE ch = static_cast<BYTE>(text[static_cast<size_t>(position)]);
        if (ch == '\r')
            SplitParagraph();
        else
            InsertCharWithFormat(dirtyRect, ch, format->m_nFaceIndex, format->m_nPointSize, format->m_bBold,
                                 format->m_bItalic, format->m_bUnderline, format->m_color, format->m_link);
    }
    LayoutText(*body, dirtyRect);
    // The box now fits the text and its top edge stayed, so the centre moved by half the change of height. A text
    // left where the writer would refuse it is refused now, rather than opening a site that saves but never opens.
    if (!IsStoredTextGeometry(width, height, rotation, centreX, centreY, body->m_nWidth, body->m_nHeight, scaleX,
                              scaleY))
        ThrowBadRecord();
    SetDirty();
    newObject = 0;
    BuildOutline();
    UpdateHandles();
    GeometryChanged();

    // Files of these versions hold no flag: a text that already shows as a picture keeps its picture properties.
    if ((major == 1 && minor == 0) || (major == 1 && minor == 3))
        body->m_bAllowAdvanced = IsPlainObject() ? 0 : 1;
}

// ---- Copies ----

std::unique_ptr<CPageObject> CTextObject::Clone() const
{
    auto copy = std::make_unique<CTextObject>(centreX, centreY, SIZE{width, height}, rotation);
    CopySnapshotInto(*copy);
    copy->newObject = newObject;
    copy->scaleX = scaleX;
    copy->scaleY = scaleY;
    return copy;
}

std::unique_ptr<CPageObject> CTextObject::Duplicate() const
{
    auto copy = std::make_unique<CTextObject>(centreX, centreY, SIZE{body->m_nWidth, body->m_nHeight}, rotation);
    copy->scaleX = scaleX;
    copy->scaleY = scaleY;
    copy->newObject = 0;
    CopyAllInto(*copy);
    copy->width = width;
    copy->height = height;
    copy->body = body->Clone();
    copy->body->SetOwner(copy.get());
    copy->BuildOutline();
    copy->UpdateHandles();
    return copy;
}

void CTextObject::CopyFrom(CPageObject& other)
{
    auto* that = dynamic_cast<CTextObject*>(&other);
    if (!that || that == this)
        return;
    const bool wasPlain = IsPlainObject(), thatWasPlain = that->IsPlainObject();
    const double myRotation = GetRotation(), theirRotation = that->GetRotation();
    std::swap(centreX, that->centreX);
    std::swap(centreY, that->centreY);
    std::swap(width, that->width);
    std::swap(height, that->height);
    rotation = theirRotation;
    that->rotation = myRotation;
    std::swap(scaleX, that->scaleX);
    std::swap(scaleY, that->scaleY);
    std::unique_ptr<CStringAttr> myAlt = SetAltText(nullptr);
    SetAltText(that->SetAltText(std::move(myAlt)));

    for (CTextObject* object : {this, that}) {
        if (object->IsPlainObject() != (object == this ? wasPlain : thatWasPlain))
            object->body->SetModified();
        object->GeometryChanged();
        object->BuildOutline();
        object->UpdateHandles();
    }
}

// ---- Inserting text without layout ----

void CTextObject::InsertCharWithFormat(RECT& dirty, BYTE ch, WORD faceIndex, WORD pointSize, BYTE bold, BYTE italic,
                                       BYTE underline, COLORREF color, const CLinkInfo& link)
{
    body->SetModified();
    if (!body->m_bSelectionEmpty)
        DeleteSelectedChars(dirty, true);
    CTextChar made = MakeTextChar(ch, faceIndex, pointSize, bold != 0, italic != 0, underline != 0, color, link);
    made.m_bBold = bold;
    made.m_bItalic = italic;
    made.m_bUnderline = underline;
    CTextParagraph& para = body->m_paragraphs[static_cast<size_t>(body->m_nCaretPara)];
    const int index = std::clamp(body->m_nCaretIndex, 0, para.GetCount());
    body->m_nWidestChar = std::max(body->m_nWidestChar, made.m_nWidth);
    para.m_chars.insert(para.m_chars.begin() + index, made);
    body->m_nCaretIndex = index + 1;
}

void CTextObject::SplitParagraph()
{
    body->SetModified();
    body->m_bSelectionEmpty = 1;
    auto& paragraphs = body->m_paragraphs;
    const size_t at = static_cast<size_t>(body->m_nCaretPara);
    CTextParagraph& para = paragraphs[at];
    const int index = std::clamp(body->m_nCaretIndex, 0, para.GetCount());
    CTextParagraph tail;
    tail.m_nEmptyHeight = body->m_nCurAscent + body->m_nCurDescent;
    tail.m_chars.assign(para.m_chars.begin() + index, para.m_chars.end());
    para.m_chars.erase(para.m_chars.begin() + index, para.m_chars.end());
    paragraphs.insert(paragraphs.begin() + static_cast<ptrdiff_t>(at) + 1, std::move(tail));
    body->m_nCaretPara = static_cast<int>(at) + 1;
    body->m_nCaretIndex = 0;
}

// ---- What the text body asks of its owner ----

void CTextObject::GetTextObjectCenter(double& x, double& y) const
{
    x = centreX;
    y = centreY;
}

void CTextObject::SetTextObjectCenter(double x, double y)
{
    centreX = x;
    centreY = y;
}

SIZE CTextObject::GetTextObjectSize() const
{
    SIZE size;
    return GetSize(size);
}

void CTextObject::GetTextObjectScale(double& x, double& y) const
{
    x = scaleX;
    y = scaleY;
}

void CTextObject::SetTextObjectSize(int cx, int cy)
{
    width = cx;
    height = cy;
    BuildOutline();
    UpdateHandles();
}

void CTextObject::SetTextObjectBounds(const RECT& rect)
{
    bounds = rect;
}

bool CTextObject::IsTextObjectLinked() const
{
    return link && link->IsActive();
}
