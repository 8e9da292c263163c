// The undo records of page edits. Every record works as an exchange: it keeps the state its edit replaced, and
// Undo and Redo each swap that state with the page's, so that the two run the same code and a record keeps only
// what its edit touches. What a record holds out of the page (items, frames, objects) it owns, and frees with
// itself.

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/link_info.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/page_undo_manager.h"
#include "app/site/site_page.h"

namespace {

// The page's frame list as a record keeps it: frames the edit leaves alone (the unselected ones) by pointer, the
// selected ones as copies.
class FrameSnapshot
{
public:
    // withSelected false leaves the selected frames out: the state before objects that are now selected came.
    void Take(const CSitePage& page, bool withSelected)
    {
        for (int i = 0; i < page.GetGroupCount(); ++i) {
            CObjectFrame* frame = page.GetGroupAt(i);
            if (!frame->IsSelected())
                m_entries.push_back({frame, false, nullptr});
            else if (withSelected)
                m_entries.push_back({nullptr, true, frame->Clone()});
        }
    }

    // The page takes the kept frames and keeps those it had that the snapshot does not name; the selected frames
    // it had come into the snapshot. Every item of the page then points at the frame that holds it.
    void Exchange(CSitePage& page)
    {
        std::vector<std::unique_ptr<CObjectFrame>> current = page.ExchangeGroups({});
        std::unordered_map<const CObjectFrame*, size_t> where;
        std::vector<Entry> now;
        now.reserve(current.size());
        for (size_t i = 0; i < current.size(); ++i) {
            where.emplace(current[i].get(), i);
            now.push_back({current[i].get(), current[i]->IsSelected(), nullptr});
        }
        std::vector<std::unique_ptr<CObjectFrame>> frames;
        for (Entry& entry : m_entries) {
            if (entry.own) {
                frames.push_back(std::move(entry.own));
                continue;
            }
            const auto found = where.find(entry.kept);
            if (found == where.end() || !current[found->second])
                continue;
            current[found->second]->SetSelected(entry.selected);
            frames.push_back(std::move(current[found->second]));
        }
        for (size_t i = 0; i < current.size(); ++i) {
            if (!current[i])
                continue;
            if (current[i]->IsSelected())
                now[i] = {nullptr, true, std::move(current[i])};
            else
                frames.push_back(std::move(current[i]));
        }
        AttachMembers(page, frames, now);
        page.ExchangeGroups(std::move(frames));
        m_entries = std::move(now);
    }

    size_t GetEntryCount() const { return m_entries.size(); }

private:
    struct Entry
    {
        CObjectFrame* kept = nullptr;
        bool selected = false;
        std::unique_ptr<CObjectFrame> own;
    };

    // Points every item of the page at the first frame that holds it. A frame that names an item the page does not
    // hold, or one an earlier frame took, is made again of the members it may keep; a frame left with none goes
    // into the snapshot (which may name it) and leaves the page.
    static void AttachMembers(CSitePage& page, std::vector<std::unique_ptr<CObjectFrame>>& frames,
                              std::vector<Entry>& now)
    {
        // Only the frames' members are looked up among the page's items, so that a page of many items with few
        // selected costs a pass over the list and no more.
        std::unordered_set<const CPageItem*> members;
        for (const auto& frame : frames)
            for (int i = 0; i < frame->GetItemCount(); ++i)
                members.insert(frame->GetItem(i));
        std::unordered_set<const CPageItem*> items;
        for (int i = 0; i < page.GetItemCount(); ++i) {
            CPageItem* item = page.GetItem(i);
            item->SetGroup(nullptr);
            if (members.count(item))
                items.insert(item);
        }
        for (auto& frame : frames) {
            std::vector<CPageItem*> members;
            bool stray = false;
            for (int i = 0; i < frame->GetItemCount(); ++i) {
                CPageItem* member = frame->GetItem(i);
                if (items.count(member) && !member->GetGroup()) {
                    member->SetGroup(frame.get());
                    members.push_back(member);
                } else {
                    stray = true;
                }
            }
            if (!stray)
                continue;
            std::unique_ptr<CObjectFrame> rebuilt;
            if (!members.empty()) {
                rebuilt = std::make_unique<CObjectFrame>(members[0]);
                for (size_t i = 1; i < members.size(); ++i)
                    rebuilt->AddItem(members[i]);
                rebuilt->SetSelected(frame->IsSelected());
                if (frame->IsGroup())
                    rebuilt->SetGroup(true);
                for (CPageItem* member : members)
                    member->SetGroup(rebuilt.get());
            }
            Disown(now, frame);
            frame = std::move(rebuilt);
        }
        std::erase(frames, nullptr);
    }

    // Hands a frame leaving the page to the snapshot entry that names it, or frees it.
    static void Disown(std::vector<Entry>& now, std::unique_ptr<CObjectFrame>& frame)
    {
        for (Entry& entry : now) {
            if (entry.kept == frame.get()) {
                entry.kept = nullptr;
                entry.own = std::move(frame);
                return;
            }
        }
        frame.reset();
    }

    std::vector<Entry> m_entries;
};

// The page's item list as a record keeps it: the order by pointer, and the items that are out of the page.
class ItemSnapshot
{
public:
    // withSelected false leaves the selected items out: the list before the objects that are now selected came.
    void Take(const CSitePage& page, bool withSelected)
    {
        m_order.reserve(static_cast<size_t>(page.GetItemCount()));
        for (int i = 0; i < page.GetItemCount(); ++i) {
            CPageItem* item = page.GetItem(i);
            if (withSelected || !page.IsPageItemSelected(item))
                m_order.push_back(item);
        }
    }

    void Adopt(std::vector<std::unique_ptr<CPageItem>>& items)
    {
        for (auto& item : items) {
            if (!item)
                continue;
            item->SetGroup(nullptr);
            m_owned.push_back(std::move(item));
        }
        items.clear();
    }

    // The page's list becomes the kept order; items it then lacks come out of the page into the snapshot.
    void Exchange(CSitePage& page)
    {
        std::vector<std::unique_ptr<CPageItem>> pool = page.ExchangeItems({});
        std::vector<CPageItem*> now;
        now.reserve(pool.size());
        for (const auto& item : pool)
            now.push_back(item.get());
        for (auto& item : m_owned)
            pool.push_back(std::move(item));
        m_owned.clear();
        std::unordered_map<const CPageItem*, size_t> where;
        for (size_t i = 0; i < pool.size(); ++i)
            where.emplace(pool[i].get(), i);

        std::vector<std::unique_ptr<CPageItem>> items;
        items.reserve(m_order.size());
        for (CPageItem* item : m_order) {
            const auto found = where.find(item);
            if (found != where.end() && pool[found->second])
                items.push_back(std::move(pool[found->second]));
        }
        for (auto& item : pool) {
            if (!item)
                continue;
            item->FreeCaches();
            item->SetGroup(nullptr);
            m_owned.push_back(std::move(item));
        }
        page.ExchangeItems(std::move(items));
        m_order = std::move(now);
    }

private:
    std::vector<CPageItem*> m_order;
    std::vector<std::unique_ptr<CPageItem>> m_owned;
};

// Objects added, deleted or taken out, z-order and grouping: the item list, the frames, or both.
class StructureRecord : public CPageUndoRecord
{
public:
    StructureRecord(CSitePage& page, bool items, bool frames, bool withSelected)
        : m_page(page), m_bItems(items), m_bFrames(frames)
    {
        if (items)
            m_items.Take(page, withSelected);
        if (frames)
            m_frames.Take(page, withSelected);
    }

    void Undo() override { Exchange(); }
    void Redo() override { Exchange(); }

    bool TakeRemovedItems(std::vector<std::unique_ptr<CPageItem>>& items) override
    {
        if (!m_bItems)
            return false;
        m_items.Adopt(items);
        return true;
    }

private:
    void Exchange()
    {
        if (m_bItems)
            m_items.Exchange(m_page);
        if (m_bFrames)
            m_frames.Exchange(m_page);
    }

    CSitePage& m_page;
    bool m_bItems;
    bool m_bFrames;
    ItemSnapshot m_items;
    FrameSnapshot m_frames;
};

// The mouse-over twin of an item with its flags; its offsets travel with the object.
struct TwinState
{
    std::unique_ptr<CPageObject> object;
    bool shown = false;
    bool sameText = true;

    static std::unique_ptr<CPageObject> Copy(const CPageObject& object)
    {
        std::unique_ptr<CPageObject> copy = object.Duplicate();
        return copy ? std::move(copy) : object.Clone();
    }

    void Take(const CPageItem& item)
    {
        if (const CPageObject* twin = item.HasMouseOver() ? item.GetObject(true) : nullptr)
            object = Copy(*twin);
        shown = item.IsMouseOverShown();
        sameText = item.IsSameText();
    }

    void Exchange(CPageItem& item)
    {
        TwinState now;
        now.shown = item.IsMouseOverShown();
        now.sameText = item.IsSameText();
        if (item.HasMouseOver())
            now.object = item.RemoveMouseOverObject();
        if (object)
            item.SetMouseOverObject(std::move(object));
        item.SetMouseOverShown(shown);
        item.SetSameText(sameText);
        *this = std::move(now);
    }
};

// Changes made to the selected objects, item by item: geometry, fill, effects, links. The selection comes back
// with them.
class ObjectsRecord : public CPageUndoRecord
{
public:
    ObjectsRecord(CSitePage& page, UndoKind kind) : m_page(page), m_kind(kind)
    {
        m_frames.Take(page, true);
        for (int g = 0; g < page.GetGroupCount(); ++g) {
            const CObjectFrame* frame = page.GetGroupAt(g);
            if (!frame->IsSelected())
                continue;
            for (int i = 0; i < frame->GetItemCount(); ++i)
                m_entries.push_back(Capture(*frame->GetItem(i)));
        }
    }

    void Undo() override { Exchange(); }
    void Redo() override { Exchange(); }

private:
    struct Entry
    {
        CPageItem* item = nullptr;
        CPageObject* object = nullptr;
        std::unique_ptr<CPageObject> main;
        std::unique_ptr<CPageObject> twin;
        std::unique_ptr<CFillInfo> fill;
        std::unique_ptr<CEffectSettings> effects;
        std::unique_ptr<CLinkInfo> link;
    };

    bool Has(UndoKind a, UndoKind b) const { return m_kind == a || m_kind == b; }

    Entry Capture(CPageItem& item) const
    {
        Entry entry;
        entry.item = &item;
        entry.object = item.GetCurrentObject();
        if (m_kind == UndoKind::geometry) {
            entry.main = item.GetObject(false)->Clone();
            if (const CPageObject* twin = item.GetObject(true))
                entry.twin = twin->Clone();
        }
        // An object may have no effects or link: nothing is then what comes back.
        if (Has(UndoKind::fill, UndoKind::fillAndEffects) && entry.object->GetFill())
            entry.fill = entry.object->GetFill()->Clone();
        if (Has(UndoKind::effects, UndoKind::fillAndEffects) && entry.object->GetEffects())
            entry.effects = entry.object->GetEffects()->Clone();
        if (m_kind == UndoKind::link && item.GetObject(false)->GetLink())
            entry.link = item.GetObject(false)->GetLink()->Clone();
        return entry;
    }

    void Exchange()
    {
        m_frames.Exchange(m_page);
        for (Entry& entry : m_entries) {
            // An item that left the page without a step of its own is not touched.
            if (!m_page.HoldsItem(entry.item))
                continue;
            CPageItem& item = *entry.item;
            if (entry.main)
                item.GetObject(false)->CopyFrom(*entry.main);
            if (entry.twin && item.GetObject(true))
                item.GetObject(true)->CopyFrom(*entry.twin);
            CPageObject* object = entry.object;
            if (object != item.GetObject(false) && object != item.GetObject(true))
                continue;
            if (entry.fill)
                entry.fill = object->SetFill(std::move(entry.fill));
            if (Has(UndoKind::effects, UndoKind::fillAndEffects))
                entry.effects = object->SetEffects(std::move(entry.effects));
            if (m_kind == UndoKind::link)
                entry.link = item.GetObject(false)->SetLink(std::move(entry.link));
            object->SetDirty();
        }
    }

    CSitePage& m_page;
    UndoKind m_kind;
    FrameSnapshot m_frames;
    std::vector<Entry> m_entries;
};

// Edits of the single selected item: its text body, the advanced-text switch, its mouse-over twin and settings.
class SingleItemRecord : public CPageUndoRecord
{
public:
    SingleItemRecord(CSitePage& page, UndoKind kind) : m_page(page), m_kind(kind)
    {
        m_pItem = page.GetSingleSelectedItem();
        if (!m_pItem)
            return;
        m_frames.Take(page, true);
        CPageItem& item = *m_pItem;
        m_pObject = item.GetCurrentObject();
        switch (kind) {
        case UndoKind::textBody:
            // Typing also sizes the text's box, which comes back with the body.
            if (auto* text = dynamic_cast<CTextObject*>(m_pObject)) {
                m_pBody = text->GetTextBody()->Clone();
                m_pState = text->Clone();
            }
            break;
        case UndoKind::advancedText:
            m_pObject = item.GetObject(false);
            m_pState = TwinState::Copy(*m_pObject);
            m_twin.Take(item);
            m_nIndex = page.IndexOfItem(&item);
            break;
        case UndoKind::mouseOverCreated:
        case UndoKind::mouseOverRemoved:
            m_twin.Take(item);
            break;
        default: // mouse-over settings
            m_bShown = item.IsMouseOverShown();
            m_bSameText = item.IsSameText();
            m_nOffsetX = item.GetMouseOverOffsetX();
            m_nOffsetY = item.GetMouseOverOffsetY();
            break;
        }
    }

    void Undo() override { Exchange(); }
    void Redo() override { Exchange(); }

private:
    void Exchange()
    {
        if (!m_pItem || !m_page.HoldsItem(m_pItem))
            return;
        m_frames.Exchange(m_page);
        CPageItem& item = *m_pItem;
        switch (m_kind) {
        case UndoKind::textBody:
            if (auto* text = dynamic_cast<CTextObject*>(m_pObject); text && m_pBody && IsItemObject(m_pObject)) {
                text->CopyFrom(*m_pState);
                m_pBody = text->SetTextBody(std::move(m_pBody));
            }
            break;
        case UndoKind::advancedText:
            ExchangeObject(*item.GetObject(false));
            m_twin.Exchange(item);
            {
                const int now = m_page.IndexOfItem(&item);
                m_page.MoveItem(&item, m_nIndex);
                m_nIndex = now;
            }
            break;
        case UndoKind::mouseOverCreated:
        case UndoKind::mouseOverRemoved:
            m_twin.Exchange(item);
            break;
        default: {
            const bool shown = item.IsMouseOverShown(), same = item.IsSameText();
            const int x = item.GetMouseOverOffsetX(), y = item.GetMouseOverOffsetY();
            item.SetMouseOverShown(m_bShown);
            item.SetSameText(m_bSameText);
            item.SetMouseOverOffsetX(m_nOffsetX);
            item.SetMouseOverOffsetY(m_nOffsetY);
            m_bShown = shown, m_bSameText = same, m_nOffsetX = x, m_nOffsetY = y;
            break;
        }
        }
        item.GetCurrentObject()->SetDirty();
    }

    bool IsItemObject(const CPageObject* object) const
    {
        return object == m_pItem->GetObject(false) || object == m_pItem->GetObject(true);
    }

    // The main object and the kept copy change geometry, fill, effects and (for text) body.
    void ExchangeObject(CPageObject& object)
    {
        CPageObject& kept = *m_pState;
        object.CopyFrom(kept);
        if (kept.GetFill() && object.GetFill())
            kept.SetFill(object.SetFill(kept.GetFill()->Clone()));
        if (kept.GetEffects() && object.GetEffects())
            kept.SetEffects(object.SetEffects(kept.GetEffects()->Clone()));
        auto* text = dynamic_cast<CTextObject*>(&object);
        auto* keptText = dynamic_cast<CTextObject*>(&kept);
        if (text && keptText)
            keptText->SetTextBody(text->SetTextBody(keptText->GetTextBody()->Clone()));
        object.SetDirty();
    }

    CSitePage& m_page;
    UndoKind m_kind;
    CPageItem* m_pItem = nullptr;
    CPageObject* m_pObject = nullptr;
    FrameSnapshot m_frames;
    std::unique_ptr<CTextBody> m_pBody;
    std::unique_ptr<CPageObject> m_pState;
    TwinState m_twin;
    int m_nIndex = 0;
    bool m_bShown = false;
    bool m_bSameText = true;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
};

// The page's own settings: texts of the head, size, doctype, background, and the guides a new size lays again.
class PageSettingsRecord : public CPageUndoRecord
{
public:
    explicit PageSettingsRecord(CSitePage& page) : m_page(page), m_state(Read(page)) {}

    void Undo() override { Exchange(); }
    void Redo() override { Exchange(); }

private:
    struct State
    {
        std::string name, title, header, onload, keywords, description, analytics;
        std::vector<std::string> usedFiles;
        int width = 0, height = 0, doctype = 0, gridMode = 0;
        bool centered = false;
        std::unique_ptr<CFillStyle> background;
        std::vector<int> guides[2];
    };

    static State Read(const CSitePage& page)
    {
        State state;
        state.name = page.GetName();
        state.title = page.GetTitle();
        state.header = page.GetHeaderHtml();
        state.onload = page.GetOnloadCode();
        state.keywords = page.GetKeywords();
        state.description = page.GetDescription();
        state.analytics = page.GetAnalyticsCode();
        state.usedFiles = page.GetUsedFiles();
        state.width = page.GetWidth();
        state.height = page.GetHeight();
        state.doctype = page.GetDoctype();
        state.gridMode = page.GetGridMode();
        state.centered = page.IsCentered();
        state.background = page.GetBackground()->Clone();
        for (bool horizontal : {true, false})
            for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
                state.guides[horizontal].push_back(page.GetGuide(horizontal, i));
        return state;
    }

    void Exchange()
    {
        State now = Read(m_page);
        m_page.SetPageInfo(m_state.name, m_state.title, m_state.header, m_state.width, m_state.height, m_state.doctype);
        m_page.SetOnloadCode(m_state.onload);
        m_page.SetKeywords(m_state.keywords);
        m_page.SetDescription(m_state.description);
        m_page.SetAnalyticsCode(m_state.analytics);
        m_page.SetUsedFiles(std::move(m_state.usedFiles));
        m_page.SetCentered(m_state.centered);
        m_page.SetBackground(std::move(m_state.background));
        m_page.RemoveAllGuides();
        for (bool horizontal : {true, false})
            for (int position : m_state.guides[horizontal])
                m_page.AddGuide(horizontal, position);
        m_page.SetGridMode(m_state.gridMode);
        m_state = std::move(now);
    }

    CSitePage& m_page;
    State m_state;
};

} // namespace

std::unique_ptr<CPageUndoRecord> MakeUndoRecord(CSitePage& page, UndoKind kind)
{
    switch (kind) {
    case UndoKind::objectsAdded:
        return std::make_unique<StructureRecord>(page, true, true, false);
    case UndoKind::objectsDeleted:
    case UndoKind::objectsRemoved:
        return std::make_unique<StructureRecord>(page, true, true, true);
    case UndoKind::zOrder:
        return std::make_unique<StructureRecord>(page, true, false, true);
    case UndoKind::grouping:
        return std::make_unique<StructureRecord>(page, false, true, true);
    case UndoKind::geometry:
    case UndoKind::fill:
    case UndoKind::effects:
    case UndoKind::fillAndEffects:
    case UndoKind::link:
        return std::make_unique<ObjectsRecord>(page, kind);
    case UndoKind::textBody:
    case UndoKind::advancedText:
    case UndoKind::mouseOverCreated:
    case UndoKind::mouseOverRemoved:
    case UndoKind::mouseOverSettings:
        return std::make_unique<SingleItemRecord>(page, kind);
    case UndoKind::pageSettings:
        return std::make_unique<PageSettingsRecord>(page);
    }
    return nullptr;
}
