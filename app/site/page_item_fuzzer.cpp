// Page item records: a tag, three flags, the object and its mouse-over twin behind their class tags. The first two
// bytes give the file version it is read as (major 1 to 5, minor 0 to 15).

#include <memory>
#include <string>
#include <vector>

#include "app/model/record_stream.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int major = 1 + data[0] % 5;
    const int minor = data[1] % 16;
    std::vector<BYTE> bytes(data + 2, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    // The reader turns bad data into a null item itself; anything escaping it is a finding.
    if (std::unique_ptr<CPageItem> item = CPageItem::Load(file, nullptr, major, minor)) {
        CMemFile out;
        item->Save(out);
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const auto save = [&](const std::string& name, const CPageItem& item) {
        CMemFile file;
        item.Save(file);
        WriteFuzzSeed(folder, name, WithPrefix({kCurrentMajorVersion - 1, kCurrentMinorVersion}, file));
    };
    save("single", CPageItem(std::make_unique<CCircleObject>(20, 20, SIZE{10, 10}, 0), nullptr));
    CPageItem twin(std::make_unique<CRectangleObject>(30.5, 40, SIZE{21, 10}, 0.25), nullptr);
    twin.SetMouseOverObject(std::make_unique<CRectangleObject>(30.5, 40, SIZE{21, 10}, 0.25));
    twin.SetMouseOverOffsetX(4);
    twin.SetMouseOverShown(false);
    save("mouse-over", twin);
}
