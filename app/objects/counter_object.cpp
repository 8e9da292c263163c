#include "app/objects/counter_object.h"

#include <climits>

#include "app/model/app_settings.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/objects/object_factory.h"
#include "app/objects/placed_image.h"

namespace {

// Counts while no settings record is installed, so that headless use hands out distinct numbers as well.
int g_nextCounterNumber = 0;

int& NextCounterNumber()
{
    CAppSettings* settings = GetAppSettings();
    return settings ? settings->counterId : g_nextCounterNumber;
}

} // namespace

int TakeCounterNumber()
{
    int& next = NextCounterNumber();
    const int number = next;
    if (next < INT_MAX)
        ++next;
    return number;
}

void NoteCounterNumber(int number)
{
    int& next = NextCounterNumber();
    if (number >= next && number < INT_MAX)
        next = number + 1;
}

unsigned CCounterObject::StyleBitmap(int style)
{
    switch (style) {
    case 0:
        return 327;
    case 1:
        return 325;
    case 2:
        return 326;
    default:
        return 324;
    }
}

CCounterObject::CCounterObject(int style, POINT point) : style(style), link(std::make_unique<CLinkInfo>())
{
    Render();
    PlaceAt(point.x, point.y);
    // A placed counter needs its own number as much as one read from a file: two counters with the same number
    // would count the same hits.
    counterNumber = TakeCounterNumber();
}

CCounterObject::CCounterObject(int style, double cx, double cy)
    : CPlacedObject({cx, cy}), style(style), link(std::make_unique<CLinkInfo>())
{
    Render();
    counterNumber = TakeCounterNumber();
    PlaceAboutOwnCentre();
}

CCounterObject::~CCounterObject() = default;

std::unique_ptr<CPageObject> CCounterObject::Create()
{
    return std::make_unique<CCounterObject>(0, 0.0, 0.0);
}

void CCounterObject::SetStyle(int newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    dirty = 1;
    Render();
    bounds.right = bounds.left + width;
    bounds.bottom = bounds.top + height;
    centre = {(bounds.left + bounds.right) * 0.5, (bounds.top + bounds.bottom) * 0.5};
    UpdateHandles();
}

bool CCounterObject::UpdateImage(CPixMap&)
{
    return Render();
}

bool CCounterObject::Render()
{
    if (!dirty)
        return true;
    std::unique_ptr<CPixMap> picture = LoadOpaqueBitmap(StyleBitmap(style));
    if (!picture)
        return false;
    auto rendered = std::make_unique<CImage>(IMAGE_MODE_RGBA, picture->width, picture->height, 96.0);
    if (!rendered->SetBuf(0, 0, *picture))
        return false;
    image = std::move(rendered);
    dirty = 0;
    width = image->Width();
    height = image->Height();
    return true;
}

void CCounterObject::OnPageDeleted(int page)
{
    if (link)
        link->OnPageDeleted(page);
}

void CCounterObject::ClampPageLinks(int count)
{
    if (link)
        link->ClampPageNumber(count);
}

void CCounterObject::ResetPageLinks()
{
    if (link)
        link->ResetPageNumber();
}

int CCounterObject::GetDownloadSize(double) const
{
    return kDownloadSize;
}

void CCounterObject::Save(CFile& file) const
{
    // A centre the reader refuses would keep the whole site from opening: nothing is written instead.
    if (!IsPlacedCentre(centre))
        ThrowBadRecord();
    WriteUInt32(file, kCounterObjectTag);
    WriteInt32(file, style);
    WriteDouble(file, centre.x);
    WriteDouble(file, centre.y);
    WriteInt32(file, counterNumber);
    WriteRect(file, bounds);
    // A clone has no link record; it is stored as the inactive link, which takes no bytes.
    (link ? *link : CLinkInfo()).Write(file);
}

void CCounterObject::Load(CFile& file, int major, int minor)
{
    const int storedStyle = ReadInt32(file);
    const DPOINT storedCentre = ReadPlacedCentre(file);
    const int storedNumber = ReadInt32(file);
    ReadRect(file);
    if (storedStyle < 0 || storedStyle >= kStyleCount)
        ThrowBadRecord();
    if (!link)
        link = std::make_unique<CLinkInfo>();
    link->Read(file, major, minor);

    style = storedStyle;
    counterNumber = storedNumber;
    NoteCounterNumber(storedNumber);
    dirty = 1;
    Render();
    // The picture decides the size; the stored bounds only repeat where it stood, so they are placed anew about the
    // stored centre and cannot disagree with the picture.
    SetCenter(storedCentre);
}

std::unique_ptr<CPageObject> CCounterObject::Clone() const
{
    auto clone = std::make_unique<CCounterObject>(style, centre.x, centre.y);
    clone->link.reset();
    return clone;
}

void CCounterObject::CopyFrom(CPageObject& other)
{
    auto* counter = dynamic_cast<CCounterObject*>(&other);
    if (!counter || counter == this)
        return;
    const int myStyle = style;
    const DPOINT myCentre = centre;
    SetStyle(counter->style);
    SetCenter(counter->centre);
    counter->SetStyle(myStyle);
    counter->SetCenter(myCentre);
}
