#include "app/site/site_page.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "app/model/page_size.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/website.h"

namespace {

// Shown when a page of an old file carries a name the site cannot give it.
constexpr const char* kIllegalPageIdMessage = "$$Illegal page id found.\nReverting to default.";

// A count is believed only when the rest of the stream can hold that many entries of at least entrySize bytes;
// anything more is a damaged file, and trusting it would reserve memory the file never fills.
bool CountFitsInRest(const CFile& file, int32_t count, ULONGLONG entrySize)
{
    if (count < 0)
        return false;
    const ULONGLONG length = file.GetLength(), position = file.GetPosition();
    const ULONGLONG rest = position < length ? length - position : 0;
    return static_cast<ULONGLONG>(count) <= rest / entrySize;
}

void WriteGuides(CFile& file, const std::vector<int>& guides)
{
    // A reader refuses a page with more guides than this, which would lose the whole site file; the guides past
    // the limit are the only thing worth less than that.
    const size_t count = std::min(guides.size(), static_cast<size_t>(CSitePage::kMaxGuides));
    WriteInt32(file, static_cast<int32_t>(count));
    for (size_t i = 0; i < count; ++i)
        WriteInt32(file, guides[i]);
}

bool ReadGuides(CFile& file, std::vector<int>& guides)
{
    const int32_t count = ReadInt32(file);
    if (count < 0 || count > CSitePage::kMaxGuides)
        return false;
    guides.resize(static_cast<size_t>(count));
    for (int& position : guides)
        position = ReadInt32(file);
    return true;
}

// The bytes an item's entry takes at the least: its frame index and its item tag.
constexpr ULONGLONG kMinItemEntrySize = 8;
// A used file is a counted string: its length at the least.
constexpr ULONGLONG kMinStringSize = 4;

} // namespace

bool CSitePage::Save(CFile& file)
{
    // Nothing a reader would refuse is written: such a record would keep the whole site file from opening.
    if (!IsPageSizeInRange(m_width, m_height))
        return false;

    WriteUInt32(file, kStreamTag);
    WriteCountedString(file, m_name);
    WriteCountedString(file, m_title);
    WriteCountedString(file, m_headerHtml, kMaxCodeStringLength);
    WriteCountedString(file, m_onloadCode, kMaxCodeStringLength);
    WriteInt32(file, static_cast<int32_t>(m_usedFiles.size()));
    for (const std::string& used : m_usedFiles)
        WriteCountedString(file, used);
    WriteFlag(file, m_frontPage);
    WriteFlag(file, m_centered);
    WriteInt32(file, m_width);
    WriteInt32(file, m_height);
    // The background is stored with the page's size, which the reader insists on; a background swapped in
    // without being sized must not make the page unreadable.
    if (m_background->GetWidth() == m_width && m_background->GetHeight() == m_height) {
        m_background->Write(file);
    } else {
        CFillStyle sized(*m_background);
        sized.SetWidth(m_width);
        sized.SetHeight(m_height);
        sized.Write(file);
    }
    WriteGuides(file, m_horizontalGuides);
    WriteGuides(file, m_verticalGuides);
    WriteByte(file, m_firstPageByte);
    WriteFlag(file, m_guidesHidden);

    std::unordered_map<const CObjectFrame*, int32_t> frameIndex;
    WriteInt32(file, static_cast<int32_t>(m_groups.size()));
    for (const auto& frame : m_groups) {
        frameIndex.emplace(frame.get(), static_cast<int32_t>(frameIndex.size()));
        frame->Save(file);
    }
    WriteInt32(file, static_cast<int32_t>(m_items.size()));
    for (const auto& item : m_items) {
        const auto found = frameIndex.find(item->GetGroup());
        WriteInt32(file, found == frameIndex.end() ? -1 : found->second);
        if (!item->Save(file))
            return false;
    }
    WriteCountedString(file, m_keywords);
    WriteCountedString(file, m_description);
    WriteCountedString(file, m_analyticsCode);
    m_saved = true;
    return true;
}

bool CSitePage::Load(CFile& file, int major, int minor)
{
    if (ReadUInt32(file) != kStreamTag)
        return false;

    m_name = ReadCountedString(file);
    // Older versions let a page have any name; one that cannot name a page's file in this site is replaced.
    if (!IsVersionAtLeast(major, minor, 5, 1)) {
        const auto isFree = [this] { return !m_site || m_site->IsPageNameFree(m_name); };
        bool rejected = false;
        if (!m_name.empty()) {
            rejected = !isFree();
            // Cleaning can make a name empty or another page's ("Ho me" next to "Home"); two pages must never
            // share one output file.
            if (!rejected) {
                SanitizePageId(m_name);
                rejected = m_name.empty() || !isFree();
            }
            if (rejected)
                GetMessages().ShowMessage(kIllegalPageIdMessage);
        }
        if (m_name.empty() || rejected)
            m_name = m_site ? m_site->MakeNewPageName() : std::string("Page0");
    }
    m_title = ReadCountedString(file);

    m_headerHtml.clear();
    m_onloadCode.clear();
    m_usedFiles.clear();
    if (IsVersionAtLeast(major, minor, 1, 6))
        m_headerHtml = ReadCountedString(file, kMaxCodeStringLength);
    if (IsVersionAtLeast(major, minor, 1, 7)) {
        m_onloadCode = ReadCountedString(file, kMaxCodeStringLength);
        const int32_t count = ReadInt32(file);
        if (!CountFitsInRest(file, count, kMinStringSize))
            return false;
        m_usedFiles.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            m_usedFiles.push_back(ReadCountedString(file));
    }

    m_frontPage = ReadFlag(file);
    if (major >= 5)
        m_centered = ReadFlag(file);
    const int width = ReadInt32(file);
    const int height = ReadInt32(file);
    if (!IsPageSizeInRange(width, height))
        return false;
    // Read aside, so that the page and its background change size together or not at all.
    auto background = std::make_unique<CFillStyle>();
    background->Read(file, major, minor);
    if (background->GetWidth() != width || background->GetHeight() != height)
        return false;
    m_width = width;
    m_height = height;
    m_background = std::move(background);

    if (!ReadGuides(file, m_horizontalGuides) || !ReadGuides(file, m_verticalGuides))
        return false;
    m_firstPageByte = ReadByte(file);
    m_guidesHidden = ReadFlag(file);

    // The record replaces whatever the page held; frames go before the items they point to.
    m_groups.clear();
    m_items.clear();
    const int32_t frameCount = ReadInt32(file);
    if (!CountFitsInRest(file, frameCount, CObjectFrame::kStreamSize))
        return false;
    std::vector<CObjectFrame*> frames;
    frames.reserve(static_cast<size_t>(frameCount));
    for (int32_t i = 0; i < frameCount; ++i) {
        std::unique_ptr<CObjectFrame> frame = CObjectFrame::Load(file, major, minor);
        if (!frame)
            return false;
        frames.push_back(frame.get());
        AddGroup(std::move(frame));
    }

    const int32_t itemCount = ReadInt32(file);
    if (!CountFitsInRest(file, itemCount, kMinItemEntrySize))
        return false;
    // The first versions stored kept-on-top items anywhere; they are moved to the tail in their read order.
    const bool gatherKeptOnTop = major == 1 && (minor == 0 || minor == 3);
    int keptOnTop = 0;
    for (int32_t i = 0; i < itemCount; ++i) {
        const int32_t frameIndex = ReadInt32(file);
        if (frameIndex < -1 || frameIndex >= frameCount)
            return false;
        std::unique_ptr<CPageItem> item = CPageItem::Load(file, m_renderBuffer.get(), major, minor);
        if (!item)
            return false;
        CPageItem* read = item.get();
        if (gatherKeptOnTop && !read->IsKeptOnTop())
            m_items.insert(m_items.begin() + (i - keptOnTop), std::move(item));
        else
            m_items.push_back(std::move(item));
        if (gatherKeptOnTop && read->IsKeptOnTop())
            ++keptOnTop;
        if (frameIndex >= 0)
            frames[static_cast<size_t>(frameIndex)]->AttachItem(read);
    }

    // A frame exists for its members; one that no item named would be an empty selection on screen.
    std::erase_if(m_groups, [](const auto& frame) { return frame->GetItemCount() == 0; });

    m_keywords.clear();
    m_description.clear();
    m_analyticsCode.clear();
    if (major == 5 && minor >= 9) {
        m_keywords = ReadCountedString(file);
        m_description = ReadCountedString(file);
    }
    if (major == 5 && minor >= 14)
        m_analyticsCode = ReadCountedString(file);
    return true;
}
