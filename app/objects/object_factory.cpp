#include "app/objects/object_factory.h"

#include <stdexcept>

#include "app/model/record_stream.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"

namespace {

struct ObjectClass
{
    DWORD tag;
    PageObjectCreator create;
};

// One line per class. A class enters with the function that makes it with its neutral arguments (circle,
// rectangle, polygon and text: centre (0, 0), size 2 x 2, no rotation, the polygon a triangle; HTML: centre
// (0, 0), size 10 x 10; counter: style 0 at (0, 0); form: no receiver, at (0, 0)).
ObjectClass g_classes[] = {
    {kCircleObjectTag, &CCircleObject::Create},   {kRectangleObjectTag, &CRectangleObject::Create},
    {kPolygonObjectTag, &CPolygonObject::Create}, {kTextObjectTag, &CTextObject::Create},
    {kCounterObjectTag, &CCounterObject::Create}, {kHtmlObjectTag, &CHtmlObject::Create},
    {kFormObjectTag, &CFormObject::Create},
};

ObjectClass* FindClass(DWORD tag)
{
    for (ObjectClass& entry : g_classes)
        if (entry.tag == tag)
            return &entry;
    return nullptr;
}

} // namespace

PageObjectCreator GetPageObjectCreator(DWORD tag)
{
    const ObjectClass* entry = FindClass(tag);
    return entry ? entry->create : nullptr;
}

PageObjectCreator SetPageObjectCreator(DWORD tag, PageObjectCreator creator)
{
    ObjectClass* entry = FindClass(tag);
    if (!entry)
        throw std::invalid_argument("not a page object class tag");
    PageObjectCreator old = entry->create;
    entry->create = creator;
    return old;
}

std::unique_ptr<CPageObject> CreatePageObjectFromArchive(CFile& file, int major, int minor)
{
    const DWORD tag = ReadUInt32(file);
    PageObjectCreator create = GetPageObjectCreator(tag);
    if (!create)
        ThrowBadRecord();
    std::unique_ptr<CPageObject> object = create();
    if (!object)
        ThrowBadRecord();
    // Should the load throw, the object goes with the unwinding; a half-read object is never handed out.
    object->Load(file, major, minor);
    return object;
}
