#pragma once

// Site files made by hand, field by field, for the tests and the fuzzer's seeds: every field present as the file's
// version has it, so that a test changes only the one it is about.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/model/fill_style.h"
#include "app/model/record_stream.h"
#include "app/objects/text_body.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_object.h"
#include "image/image.h"
#include "platform/io/jpeg_io.h"
#include "platform/win/file.h"

namespace site_file_test {

// A plain text object centred at (x, y) holding the text in 12-point Arial, laid out.
inline std::unique_ptr<CTextObject> TypedText(double x, double y, const std::string& text)
{
    auto object = std::make_unique<CTextObject>(x, y, SIZE{80, 20}, 0.0);
    RECT dirty{};
    for (char c : text)
        object->InsertCharWithFormat(dirty, static_cast<BYTE>(c), FindFontIndex("Arial"), 12, 0, 0, 0, 0, CLinkInfo());
    LayoutText(*object->GetTextBody(), dirty);
    return object;
}

// Little-endian bytes, appended field by field.
class Bytes
{
public:
    Bytes& U8(int v)
    {
        data.push_back(static_cast<BYTE>(v));
        return *this;
    }
    Bytes& U16(int v) { return U8(v).U8(v >> 8); }
    Bytes& U32(int64_t v) { return U16(static_cast<int>(v)).U16(static_cast<int>(v >> 16)); }
    Bytes& Raw(const std::string& s)
    {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Raw(const std::vector<BYTE>& bytes)
    {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes& Short(const std::string& s) { return U16(static_cast<int>(s.size())).Raw(s); }
    Bytes& Long(const std::string& s) { return U32(static_cast<int64_t>(s.size())).Raw(s); }
    Bytes& Tiny(const std::string& s) { return U8(static_cast<int>(s.size())).Raw(s); }
    Bytes& Rgb(int r, int g, int b) { return U8(r).U8(g).U8(b); }
    // What a writer of the project leaves in a memory file.
    Bytes& Written(const std::function<void(CFile&)>& write)
    {
        CMemFile file;
        write(file);
        return Raw(std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength()));
    }

    std::vector<BYTE> data;
};

inline CFillStyle Background(int width, int height, const CColor& color)
{
    CFillStyle fill;
    fill.SetColor(color);
    fill.SetWidth(width);
    fill.SetHeight(height);
    return fill;
}

struct PageFields
{
    std::string name = "page";
    bool front = false;
    int width = 740;
    int height = 600;
    uint32_t tag = 0x7A292E05;
};

// A page record without frames or items, as a file of the given version holds it.
inline Bytes PageRecord(int major, int minor, const PageFields& page)
{
    Bytes b;
    b.U32(page.tag).Long(page.name).Long(page.name + " title");
    if (IsVersionAtLeast(major, minor, 1, 6))
        b.Long("<meta>");
    if (IsVersionAtLeast(major, minor, 1, 7))
        b.Long("").U32(0);
    b.U8(page.front);
    if (major >= 5)
        b.U8(1);
    b.U32(page.width).U32(page.height);
    b.Written([&](CFile& f) { Background(page.width, page.height, CColor(200, 210, 220)).Write(f); });
    b.U32(0).U32(0).U8(1).U8(0).U32(0).U32(0);
    if (major == 5 && minor >= 9)
        b.Long("keys").Long("about");
    if (major == 5 && minor >= 14)
        b.Long("");
    return b;
}

// A site file field by field, each field present as the version has it.
struct SiteFields
{
    int major = 5;
    int minor = 15;
    std::string signatureA = std::string("Brimwen", 8);
    std::string signatureB = std::string("Orvel", 6);
    std::string name = "My site";
    std::vector<std::pair<std::string, std::string>> pairs = {{"/home/u/logo.gif", "/img/logo.gif"}};
    std::vector<std::string> oldSources = {"C:\\web\\logo.gif"};
    std::vector<std::string> published = {"index.html"};
    int width = 800;
    int height = 900;
    int theme = 0;
    std::string frontTitle = "Home";
    std::array<std::string, 3> texts = {"one", "two", "three"};
    std::optional<int> pageCount; // the number of page records unless set
    std::vector<Bytes> pages;     // one front page of the version unless set
    std::string category = "Business";
    std::string themeName = "Blue";
    // The raw thumbnail of the oldest files: width, rows, bytes a row.
    std::array<int64_t, 3> raw = {2, 2, 8};
    std::optional<int64_t> rawStored;  // bytes of raw pixels stored, when fewer than the size says
    std::optional<Bytes> jpeg;         // a valid 4 x 3 JPEG unless set
    std::optional<int64_t> jpegLength; // the JPEG's length field, when it is to lie
    std::optional<uint32_t> doctype = 1;
    int tailBytes = 4; // of the switch byte and the three colour bytes
};

inline Bytes SmallJpeg()
{
    CPixMap map(IMAGE_MODE_RGB, 4, 3);
    for (int y = 0; y < 3; ++y)
        std::fill_n(map.Sample(0, y, 0), 12, BYTE(90));
    IOError error;
    return Bytes().Written([&](CFile& f) { CJpegIO::Save(f, map, 90, &error, ""); });
}

inline Bytes SiteFile(const SiteFields& s)
{
    const int major = s.major, minor = s.minor;
    Bytes b;
    b.Raw(s.signatureA).Raw(s.signatureB).U8(major).U8(minor).U16(27).Short(s.name);
    if (major == 5 && (minor == 1 || minor == 2)) {
        b.U32(static_cast<int64_t>(s.oldSources.size()));
        for (const std::string& source : s.oldSources)
            b.Long(source);
        if (minor == 2) {
            b.U32(static_cast<int64_t>(s.published.size()));
            for (const std::string& name : s.published)
                b.Long(name);
        }
    } else if (IsVersionAtLeast(major, minor, 5, 3)) {
        b.U32(static_cast<int64_t>(s.pairs.size()));
        for (const auto& [source, remote] : s.pairs)
            b.Long(source).Long(remote);
    }
    if (IsVersionAtLeast(major, minor, 5, 5))
        for (int i = 0; i < 16; ++i)
            b.U32(0x010101 * i);
    if (major >= 5)
        b.U16(1);
    b.U16(s.width).U16(s.height);
    b.Written([&](CFile& f) { Background(s.width, s.height, CColor(1, 2, 3)).Write(f); });
    b.Rgb(0, 0, 200).Rgb(100, 0, 100).U8(s.theme).Raw(std::string(63, '\0')).Short(s.frontTitle);
    if (IsVersionAtLeast(major, minor, 1, 6))
        b.Long(s.texts[0]);
    if (IsVersionAtLeast(major, minor, 1, 7))
        b.Long(s.texts[1]);
    if (major == 5 && minor >= 14)
        b.Long(s.texts[2]);

    std::vector<Bytes> pages = s.pages;
    if (pages.empty())
        pages.push_back(PageRecord(major, minor, {"home", true}));
    b.U16(s.pageCount.value_or(static_cast<int>(pages.size()))).U32(0);
    for (int i = 0; i < 5; ++i)
        b.U16(65535);
    b.U8(1);
    if (major == 1 && minor <= 7) {
        b.U16(static_cast<int>(s.raw[0])).U16(static_cast<int>(s.raw[1])).U32(s.raw[2]);
        for (int64_t i = 0; i < s.rawStored.value_or(s.raw[1] * s.raw[2]); ++i)
            b.U8(static_cast<int>(10 * (i % s.raw[2])));
    } else {
        const Bytes jpeg = s.jpeg.value_or(SmallJpeg());
        b.U32(s.jpegLength.value_or(static_cast<int64_t>(jpeg.data.size()))).Raw(jpeg.data);
    }
    if (s.theme)
        b.Tiny(s.category).Tiny(s.themeName);
    for (const Bytes& page : pages)
        b.Raw(page.data);
    if (s.doctype) {
        b.U32(*s.doctype);
        const BYTE tail[4] = {1, 10, 20, 30};
        b.Raw(std::vector<BYTE>(tail, tail + s.tailBytes));
    }
    return b;
}

} // namespace site_file_test
