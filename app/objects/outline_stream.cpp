#include "app/objects/outline_stream.h"

#include <cmath>
#include <limits>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"

namespace {

bool IsStoredOffset(int offset)
{
    return offset >= -CPageObject::kMaxStoredOffset && offset <= CPageObject::kMaxStoredOffset;
}

} // namespace

bool IsStoredCoordinate(double value)
{
    return std::isfinite(value) && std::fabs(value) <= kMaxStoredCoordinate;
}

bool IsStoredHead(const OutlineHead& head)
{
    return head.width >= 0 && head.height >= 0 && IsStoredOffset(head.offsetX) && IsStoredOffset(head.offsetY) &&
           std::isfinite(head.rotation) && IsStoredCoordinate(head.center.x) && IsStoredCoordinate(head.center.y);
}

void WriteOutlineHead(CFile& file, int kind, const OutlineHead& head)
{
    if (!IsStoredHead(head))
        ThrowBadRecord();
    WriteInt32(file, head.width);
    WriteInt32(file, head.height);
    WriteDouble(file, head.rotation);
    WriteDouble(file, head.center.x);
    WriteDouble(file, head.center.y);
    if (kind == objectPolygon)
        WriteInt32(file, head.shapeCode);
    WriteInt32(file, head.bounds.left);
    WriteInt32(file, head.bounds.top);
    WriteInt32(file, head.bounds.right);
    WriteInt32(file, head.bounds.bottom);
    WriteInt32(file, head.offsetX);
    WriteInt32(file, head.offsetY);
    if (kind == objectRectangle)
        WriteInt32(file, head.corner);
}

OutlineHead ReadOutlineHead(CFile& file, int kind, int major, int minor)
{
    (void)major; // the corner came with minor version 10, whatever the major
    OutlineHead head;
    head.width = ReadInt32(file);
    head.height = ReadInt32(file);
    head.rotation = ReadDouble(file);
    head.center.x = ReadDouble(file);
    head.center.y = ReadDouble(file);
    if (kind == objectPolygon)
        head.shapeCode = ReadInt32(file);
    head.bounds.left = ReadInt32(file);
    head.bounds.top = ReadInt32(file);
    head.bounds.right = ReadInt32(file);
    head.bounds.bottom = ReadInt32(file);
    head.offsetX = ReadInt32(file);
    head.offsetY = ReadInt32(file);
    if (kind == objectRectangle && minor > 9)
        head.corner = ReadInt32(file);

    if (!IsStoredHead(head))
        ThrowBadRecord();
    return head;
}

void WriteOutlineRecords(CFile& file, const CFillInfo& fill, const CEffectSettings& effects, const CLinkInfo& link,
                         const CTextStyle& textStyle, const CStringAttr& altText)
{
    fill.Write(file);
    effects.Write(file);
    link.Write(file);
    textStyle.Write(file);
    altText.Write(file);
}

void ReadOutlineRecords(CFile& file, int major, int minor, CFillInfo& fill, CEffectSettings& effects, CLinkInfo& link,
                        CTextStyle& textStyle, CStringAttr& altText)
{
    fill.Read(file, major, minor);
    effects.Read(file, major, minor);
    link.Read(file, major, minor);
    textStyle.Read(file, major, minor);
    altText.Read(file, major, minor);
}
