#pragma once

// Test support: a build's progress that repaints the page each time a page's pictures are on their way to the pool,
// the way the view repaints while the progress window yields, and counts the repaints that rendered an item whose
// glow failed before (memory being back by then, a render would now succeed and change it).

#include <functional>

#include "app/build/site_builder.h"
#include "app/site/render_test_support.h"

namespace render_testing {

class RepaintingProgress : public BuildProgress
{
public:
    RepaintingProgress(CPageItem& item, CEffectSettings& effects, std::function<void()> repaint)
        : m_item(item), m_effects(effects), m_repaint(std::move(repaint))
    {
    }
    void Repaint() override
    {
        LetGlowSucceed(m_effects);
        const CRect before = m_item.GetRect();
        m_repaint();
        ++repaints;
        if (!m_item.NeedsImageUpdate() || m_item.GetRect() != before)
            ++rendered;
    }
    int repaints = 0;
    int rendered = 0;

private:
    CPageItem& m_item;
    CEffectSettings& m_effects;
    std::function<void()> m_repaint;
};

} // namespace render_testing
