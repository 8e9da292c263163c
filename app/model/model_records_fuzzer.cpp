// The record readers of the model. The first byte picks the reader, the next two the file version the record is
// read as (major 1 to 5, minor 0 to 15); the rest is the record.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/gradient_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

namespace {

enum Reader : uint8_t
{
    kLinkInfo,
    kTextStyle,
    kEffectSettings,
    kGradientInfo,
    kFillInfo,
    kFillStyle,
    kStringAttr,
    kReaderCount
};

template <class Record> void ReadRecord(CFile& file, int major, int minor)
{
    Record record;
    record.Read(file, major, minor);
    // What was read must write again.
    CMemFile out;
    record.Write(out);
}

void Read(Reader reader, CFile& file, int major, int minor)
{
    switch (reader) {
    case kLinkInfo:
        return ReadRecord<CLinkInfo>(file, major, minor);
    case kTextStyle:
        return ReadRecord<CTextStyle>(file, major, minor);
    case kEffectSettings:
        return ReadRecord<CEffectSettings>(file, major, minor);
    case kGradientInfo:
        return ReadRecord<CGradientInfo>(file, major, minor);
    case kFillInfo:
        return ReadRecord<CFillInfo>(file, major, minor);
    case kFillStyle:
        return ReadRecord<CFillStyle>(file, major, minor);
    case kStringAttr:
        return ReadRecord<CStringAttr>(file, major, minor);
    case kReaderCount:
        break;
    }
}

template <class Record> std::vector<uint8_t> Seed(Reader reader, const Record& record)
{
    CMemFile file;
    record.Write(file);
    return WithPrefix({reader, kCurrentMajorVersion - 1, kCurrentMinorVersion}, file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const auto reader = static_cast<Reader>(data[0] % kReaderCount);
    const int major = 1 + data[1] % 5;
    const int minor = data[2] % 16;
    std::vector<BYTE> bytes(data + 3, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    try {
        Read(reader, file, major, minor);
    } catch (const CFileException&) {
        // Bad data is refused this way.
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    for (int kind = 0; kind < 8; ++kind) {
        CLinkInfo link;
        if (!link.SetKind(kind))
            continue;
        link.SetPage(3);
        link.SetUrl("http://example.com/a");
        link.SetEmail("someone@example.com");
        link.SetFile("C:\\site\\doc.pdf");
        link.SetTarget(1);
        WriteFuzzSeed(folder, "link-" + std::to_string(kind), Seed(kLinkInfo, link));
    }

    CTextStyle style;
    style.m_strText = "Heading";
    style.m_shadow = true;
    WriteFuzzSeed(folder, "text-style", Seed(kTextStyle, style));

    CEffectSettings effects;
    effects.m_shadow = effects.m_bevel = effects.m_glow = true;
    WriteFuzzSeed(folder, "effects", Seed(kEffectSettings, effects));

    WriteFuzzSeed(folder, "gradient", Seed(kGradientInfo, CGradientInfo()));

    CFillInfo colour;
    colour.SetColor(CColor(10, 20, 30));
    WriteFuzzSeed(folder, "fill-colour", Seed(kFillInfo, colour));
    CFillInfo picture;
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, 4, 3, 96.0);
    picture.SetTextureFileAndImage("C:\\site\\tile.jpg", std::move(image));
    WriteFuzzSeed(folder, "fill-picture", Seed(kFillInfo, picture));
    CFillInfo gradient;
    gradient.SetGradient(CGradientInfo());
    WriteFuzzSeed(folder, "fill-gradient", Seed(kFillInfo, gradient));

    CFillStyle background;
    background.SetColor(CColor(200, 100, 0));
    WriteFuzzSeed(folder, "fill-style-colour", Seed(kFillStyle, background));
    background.SetImageFile("pictures/back.gif");
    background.SetTile(true);
    WriteFuzzSeed(folder, "fill-style-picture", Seed(kFillStyle, background));
    background.SetGradient(nullptr);
    WriteFuzzSeed(folder, "fill-style-gradient", Seed(kFillStyle, background));

    WriteFuzzSeed(folder, "string", Seed(kStringAttr, CStringAttr("alternative text")));
}
