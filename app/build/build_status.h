#pragma once

// What the build's progress dialog shows: the phase ("Checking page:", "Building page:", "Writing page:"), the page
// being built and a bar in percent; and whether Cancel was pressed. The builder reports into it; a window that shows
// it repaints when Refresh is called, which happens whenever the builder polls for a cancel or asks for a repaint.

#include <string>

#include "app/build/site_builder.h"

class CBuildStatus : public BuildProgress
{
public:
    void SetPhase(const std::string& text) override { m_strPhase = text; }
    void SetPageName(const std::string& name) override { m_strPage = name; }
    void SetStep(int step) override { m_step = step; }
    void StepIt() override;
    void SetPos(int pos) override;
    void Repaint() override { Refresh(); }
    bool IsCancelRequested() override;

    const std::string& GetPhase() const { return m_strPhase; }
    const std::string& GetPageName() const { return m_strPage; }
    // The builder's position, held within 0..kBuildProgressEnd.
    int GetPosition() const { return m_pos; }
    // The bar, 0 to 100.
    int GetPercent() const;

    // The Cancel button: the builder stops at its next poll.
    void Cancel() { m_bCancelled = true; }
    bool IsCancelled() const { return m_bCancelled; }

protected:
    // Shows the state and takes the user's input (Cancel among it); nothing without a window.
    virtual void Refresh() {}

private:
    std::string m_strPhase;
    std::string m_strPage;
    int m_step = 0;
    int m_pos = 0;
    bool m_bCancelled = false;
};
