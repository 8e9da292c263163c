#include "app/objects/html_object.h"

#include <algorithm>
#include <climits>

#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/objects/object_factory.h"
#include "app/objects/placed_image.h"
#include "app/objects/text_image.h"

CHtmlObject::CHtmlObject(POINT topLeft, int width, int height) : CPlacedObject({0.0, 0.0}, width, height)
{
    bounds = CRect(topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height);
    centre = {(bounds.left + bounds.right) * 0.5, (bounds.top + bounds.bottom) * 0.5};
    UpdateHandles();
}

CHtmlObject::CHtmlObject(double cx, double cy, int width, int height) : CPlacedObject({cx, cy}, width, height)
{
    PlaceAboutOwnCentre();
}

std::unique_ptr<CPageObject> CHtmlObject::Create()
{
    return std::make_unique<CHtmlObject>(POINT{0, 0}, 10, 10);
}

void CHtmlObject::SetSize(int cx, int cy)
{
    if (cx == width && cy == height)
        return;
    width = cx;
    height = cy;
    dirty = 1;
    SetCenter(centre);
}

void CHtmlObject::GetPixels(int x, int y, CPixMap& map, const CColor*)
{
    if (dirty) {
        CPixMap scratch(IMAGE_MODE_RGBA, 1, 1);
        UpdateImage(scratch);
    }
    // Until the view can render, the last placeholder (if any) stands in for the new one.
    CopyImageOrClear(image.get(), x, y, map);
}

bool CHtmlObject::UpdateImage(CPixMap&)
{
    if (!ViewBufferReady)
        return false;
    if (!dirty)
        return true;
    if (width < 1 || height < 1)
        return false;
    std::unique_ptr<CPixMap> pattern = LoadOpaqueBitmap(kPatternBitmap);
    if (!pattern)
        return false;
    auto rendered = std::make_unique<CImage>(IMAGE_MODE_RGBA, width, height, 96.0);
    if (rendered->IsEmpty())
        return false;
    for (int y = 0; y < height; y += pattern->height)
        for (int x = 0; x < width; x += pattern->width)
            rendered->SetBuf(x, y, *pattern);
    DrawCentredLabel(*rendered, width / 2, height / 2, name, RGB(80, 80, 80), true, RGB(180, 180, 180));

    const int stride = rendered->GetStride();
    unsigned char* data = rendered->GetData();
    const auto black = [&](int x, int y) {
        unsigned char* pixel = data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4;
        pixel[0] = 255;
        pixel[1] = pixel[2] = pixel[3] = 0;
    };
    for (int x = 0; x < width; ++x) {
        black(x, 0);
        black(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        black(0, y);
        black(width - 1, y);
    }
    image = std::move(rendered);
    dirty = 0;
    return true;
}

void CHtmlObject::UpdateHandles()
{
    const double xs[] = {centre.x - width / 2.0, centre.x, centre.x + width / 2.0};
    const double ys[] = {centre.y - height / 2.0, centre.y, centre.y + height / 2.0};
    int n = 0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (row != 1 || col != 1)
                handles[n++] = {xs[col], ys[row]};
}

int CHtmlObject::GetDownloadSize(double) const
{
    const size_t bytes = htmlCode.size() + headerHtml.size();
    return static_cast<int>(std::min<size_t>(bytes, INT_MAX));
}

// A block the user could not have drawn would make the placeholder's image impossible (or huge) to create; the
// reader refuses it, and so the writer never writes one.
bool CHtmlObject::IsStoredBlockSize(int blockWidth, int blockHeight) const
{
    SIZE maxSize;
    GetMaxSize(maxSize);
    return blockWidth >= 1 && blockHeight >= 1 && blockWidth <= maxSize.cx && blockHeight <= maxSize.cy;
}

void CHtmlObject::Save(CFile& file) const
{
    if (!IsStoredBlockSize(width, height) || !IsPlacedCentre(centre))
        ThrowBadRecord();
    WriteUInt32(file, kHtmlObjectTag);
    WriteDouble(file, centre.x);
    WriteDouble(file, centre.y);
    WriteInt32(file, width);
    WriteInt32(file, height);
    WriteRect(file, bounds);
    WriteByte(file, placedFlag);
    WriteCountedString(file, name);
    WriteCountedString(file, onloadCode, kMaxCodeStringLength);
    WriteCountedString(file, headerHtml, kMaxCodeStringLength);
    WriteCountedString(file, htmlCode, kMaxCodeStringLength);
    WriteInt32(file, static_cast<int32_t>(usedFiles.size()));
    for (const std::string& used : usedFiles)
        WriteCountedString(file, used);
}

void CHtmlObject::Load(CFile& file, int major, int minor)
{
    const DPOINT storedCentre = ReadPlacedCentre(file);
    const int storedWidth = ReadInt32(file);
    const int storedHeight = ReadInt32(file);
    ReadRect(file);
    if (!IsStoredBlockSize(storedWidth, storedHeight))
        ThrowBadRecord();
    const BYTE storedPlaced = major == 5 && minor >= 11 ? ReadByte(file) : 0;
    std::string storedName = ReadCountedString(file);
    std::string storedOnload, storedHeader, storedCode;
    std::vector<std::string> storedFiles;
    if (major == 1 && minor == 6) {
        storedCode = ReadCountedString(file, kMaxCodeStringLength);
    } else {
        storedOnload = ReadCountedString(file, kMaxCodeStringLength);
        storedHeader = ReadCountedString(file, kMaxCodeStringLength);
        storedCode = ReadCountedString(file, kMaxCodeStringLength);
        const int count = ReadInt32(file);
        // Every name takes at least its 4-byte length, so a count the rest of the file cannot hold is damage, not a
        // reason to reserve room for it.
        const ULONGLONG remaining = file.GetLength() - std::min(file.GetLength(), file.GetPosition());
        if (count > 0 && static_cast<ULONGLONG>(count) > remaining / 4)
            ThrowBadRecord();
        for (int i = 0; i < count; ++i)
            storedFiles.push_back(ReadCountedString(file));
    }

    width = storedWidth;
    height = storedHeight;
    placedFlag = storedPlaced;
    name = std::move(storedName);
    onloadCode = std::move(storedOnload);
    headerHtml = std::move(storedHeader);
    htmlCode = std::move(storedCode);
    usedFiles = std::move(storedFiles);
    dirty = 1;
    // Placed anew about the stored centre, so that the bounds always agree with the size.
    SetCenter(storedCentre);
}

std::unique_ptr<CPageObject> CHtmlObject::Clone() const
{
    auto clone = std::make_unique<CHtmlObject>(centre.x, centre.y, width, height);
    clone->name = name;
    clone->onloadCode = onloadCode;
    clone->headerHtml = headerHtml;
    clone->htmlCode = htmlCode;
    clone->usedFiles = usedFiles;
    return clone;
}

void CHtmlObject::CopyFrom(CPageObject& other)
{
    auto* html = dynamic_cast<CHtmlObject*>(&other);
    if (!html || html == this)
        return;
    std::swap(centre, html->centre);
    std::swap(width, html->width);
    std::swap(height, html->height);
    std::swap(name, html->name);
    std::swap(onloadCode, html->onloadCode);
    std::swap(headerHtml, html->headerHtml);
    std::swap(htmlCode, html->htmlCode);
    std::swap(usedFiles, html->usedFiles);
    for (CHtmlObject* side : {this, html}) {
        side->dirty = 1;
        side->SetCenter(side->centre);
    }
}
