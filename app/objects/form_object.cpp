#include "app/objects/form_object.h"

#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/objects/object_factory.h"
#include "app/objects/placed_image.h"
#include "platform/resources/bitmap_resources.h"

std::string EscapeHtml(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

CFormObject::CFormObject(std::string address, POINT point) : address(std::move(address))
{
    Render();
    PlaceAt(point.x, point.y);
}

CFormObject::CFormObject(std::string address, double cx, double cy)
    : CPlacedObject({cx, cy}), address(std::move(address))
{
    PlaceAboutOwnCentre();
}

std::unique_ptr<CPageObject> CFormObject::Create()
{
    return std::make_unique<CFormObject>(std::string(), 0.0, 0.0);
}

std::string CFormObject::GetFormHtml() const
{
    std::string html = "<form method='POST' name='formular' onsubmit='WriteSenderWindow();' action='";
    html += kFormMailScript;
    html += "'>\n";
    // The address is the user's text inside a quoted attribute: unescaped, a quote in it would end the value and
    // let the rest be read as markup of the page.
    html += "  <input type='hidden' name='receiver' value='" + EscapeHtml(address) + "'>\n";
    // The page is written in Windows-1252, as all the program's text.
    html += "  <input type='hidden' name='subject' value='Foresp\xF8rgsel fra bruger p\xE5 hjemmesiden'>\n"
            "  <input type='hidden' name='senderwindow' value=''>\n"
            "  <p><font face='Arial' size='2'>Navn:</font><br>\n"
            "  &nbsp;&nbsp; <input type='text' name='name' size='27'><br><br>\n"
            "  <font face='Arial' size='2'>E-mail adresse:</font><br>\n"
            "  &nbsp;&nbsp; <input type='text' name='email' size='27'><br><br>\n"
            "  <font face='Arial' size='2'>Post adresse:</font><br>\n"
            "  &nbsp;&nbsp; <textarea rows='3' name='address' cols='30' style='font-family: Arial; font-size: "
            "10pt;'></textarea><br><br>\n"
            "  <font face='Arial' size='2'>Foresp\xF8rgsel:</font><br>\n"
            "  &nbsp;&nbsp; <textarea rows='3' name='request' cols='30' style='font-family: Arial; font-size: "
            "10pt;'></textarea><br><br>\n"
            "  &nbsp;&nbsp;&nbsp; <input type='reset' value='  Nulstil  ' name='B1'>&nbsp;&nbsp;&nbsp;\n"
            "  <input type='submit' value='  Afsend  ' name='B2'></p>\n"
            "</form>\n";
    return html;
}

bool CFormObject::UpdateImage(CPixMap&)
{
    return Render();
}

bool CFormObject::Render()
{
    if (!dirty)
        return true;
    DeviceBitmap colour, mask;
    if (!LoadDeviceBitmap(kColourBitmap, colour) || !LoadDeviceBitmap(kMaskBitmap, mask) || mask.width < 1 ||
        mask.height < 1)
        return false;
    CPixMap picture(IMAGE_MODE_RGBA, mask.width, mask.height);
    if (!picture.IsValid())
        return false;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            unsigned char* pixel = picture.Sample(x, y, 0);
            pixel[0] = mask.bits[(static_cast<size_t>(y) * mask.width + x) * 4];
            // A colour bitmap smaller than the mask leaves the rest of the form black rather than reading past it.
            if (x < colour.width && y < colour.height) {
                const uint8_t* device = colour.bits.data() + (static_cast<size_t>(y) * colour.width + x) * 4;
                pixel[1] = device[2];
                pixel[2] = device[1];
                pixel[3] = device[0];
            } else {
                pixel[1] = pixel[2] = pixel[3] = 0;
            }
        }
    auto rendered = std::make_unique<CImage>(IMAGE_MODE_RGBA, mask.width, mask.height, 96.0);
    if (!rendered->SetBuf(0, 0, picture))
        return false;
    image = std::move(rendered);
    width = image->Width();
    height = image->Height();
    dirty = 0;
    return true;
}

int CFormObject::GetDownloadSize(double) const
{
    return kDownloadSize;
}

void CFormObject::Save(CFile& file) const
{
    // A centre the reader refuses would keep the whole site from opening: nothing is written instead.
    if (!IsPlacedCentre(centre))
        ThrowBadRecord();
    WriteUInt32(file, kFormObjectTag);
    WriteCountedString(file, address);
    WriteDouble(file, centre.x);
    WriteDouble(file, centre.y);
    WriteRect(file, bounds);
}

void CFormObject::Load(CFile& file, int, int)
{
    std::string storedAddress;
    CStringAttr::ReadBody(file, storedAddress);
    const DPOINT storedCentre = ReadPlacedCentre(file);
    ReadRect(file);
    address = std::move(storedAddress);
    dirty = 1;
    Render();
    // The picture decides the size; the bounds are placed anew about the stored centre so that they agree with it.
    SetCenter(storedCentre);
}

std::unique_ptr<CPageObject> CFormObject::Clone() const
{
    return std::make_unique<CFormObject>(address, centre.x, centre.y);
}

void CFormObject::CopyFrom(CPageObject& other)
{
    auto* form = dynamic_cast<CFormObject*>(&other);
    if (!form || form == this)
        return;
    const DPOINT myCentre = centre;
    SetCenter(form->centre);
    form->SetCenter(myCentre);
    std::swap(address, form->address);
}
