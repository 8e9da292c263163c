// The objects block of the clipboard, which any program can put there under its name, read into a page: what
// pastes is copied again, pastes again, and the pages it went to save and open again.

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/clipboard_objects.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

namespace {

NewPageSettings Settings()
{
    NewPageSettings settings;
    settings.width = 600;
    settings.height = 400;
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    const CRect visible(0, 0, 600, 400);
    CSitePage page(nullptr, "p", "P", Settings());
    page.AddObject(std::make_unique<CRectangleObject>(50.0, 50.0, SIZE{20, 20}, 0.0));
    if (!PasteObjectsBlock(page, file, (size & 1) != 0, 5, visible))
        return 0;
    // A block that pastes is copied again whole, pastes again, and leaves a page that saves and opens again.
    CMemFile copied;
    if (!WriteObjectsBlock(page, copied))
        std::abort();
    copied.SeekToBegin();
    CSitePage again(nullptr, "q", "Q", Settings());
    if (!PasteObjectsBlock(again, copied, false, 5, visible) ||
        again.GetItemCount() != page.GetSelectedItemCount())
        std::abort();
    for (CSitePage* saved : {&page, &again}) {
        CMemFile record;
        if (!saved->Save(record))
            std::abort();
        record.SeekToBegin();
        CSitePage reopened(nullptr, "r", "R", Settings());
        if (!reopened.Load(record, 5, 15) || reopened.GetItemCount() != saved->GetItemCount())
            std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    CSitePage page(nullptr, "p", "P", Settings());
    page.AddObject(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{40, 30}, 0.0));
    page.AddObject(std::make_unique<CCircleObject>(200.0, 120.0, SIZE{50, 50}, 0.0));
    page.AddObject(std::make_unique<CRectangleObject>(300.0, 140.0, SIZE{20, 20}, 0.5));
    const auto save = [&](const std::string& name) {
        CMemFile file;
        WriteObjectsBlock(page, file);
        WriteFuzzSeed(folder, name, WithPrefix({}, file));
    };
    page.SelectItemAt(0);
    save("single");
    page.AddToSelection(page.GetItem(1));
    page.CreateGroup();
    page.AddToSelection(page.GetItem(2));
    save("group-and-single");
}
