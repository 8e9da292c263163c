#include "app/objects/text_object.h"

#include <cmath>
#include <cstdint>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/objects/object_factory.h"
#include "app/objects/outline_stream.h"
#include "app/objects/text_layout.h"

namespace {

// The smallest a format record can be: name length, size, three flags and the colour, with an inactive link.
constexpr ULONGLONG kMinFormatRecordBytes = 4 + 2 + 1 + 1 + 1 + 4;
constexpr ULONGLONG kRunBytes = 8;

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

} // namespace

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
    WriteInt32(file, body->m_alignment);
    WriteInt32(file, body->m_nWidth);
    WriteInt32(file, body->m_nHeight);
    WriteByte(file, body->m_allowAdvanced);
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
    body->m_alignment = alignment;
    body->m_allowAdvanced = allowAdvanced;

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
            InsertCharWithFormat(dirtyRect, ch, format->m_faceIndex, format->m_pointSize, format->m_bBold,
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
        body->m_allowAdvanced = IsPlainObject() ? 0 : 1;
}
