#pragma once

// Where one seam's answers are installed: the object installed, or the seam's Null answers while none is. Each seam
// keeps one slot behind its Set, Get and ExchangeSeam functions.

template <typename Seam, typename Null> class SeamSlot
{
public:
    // Null puts back the Null answers.
    void Set(Seam* answers) { m_installed = answers ? answers : &m_null; }
    Seam& Get() const { return *m_installed; }
    // Installs as Set does and hands back what was installed before.
    Seam* Exchange(Seam* answers)
    {
        Seam* before = m_installed;
        Set(answers);
        return before;
    }

private:
    Null m_null;
    Seam* m_installed = &m_null;
};
