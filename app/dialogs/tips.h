#pragma once

// Tips of the day: a fixed list of tips shown one at a time, starting at a random one, stepping forward and back
// with wrap-around.

#include <string>
#include <vector>

class CTipsList
{
public:
    // The program's tips, starting at tip start modulo their count.
    explicit CTipsList(unsigned start);

    int GetCount() const { return static_cast<int>(m_tips.size()); }
    int GetIndex() const { return m_nIndex; }
    const std::string& GetTip() const { return m_tips[static_cast<size_t>(m_nIndex)]; }
    // From the last tip Next shows the first, from the first Previous shows the last.
    void Next();
    void Previous();

private:
    std::vector<std::string> m_tips;
    int m_nIndex = 0;
};

// A start that differs from run to run: the current time in seconds.
unsigned RandomTipStart();
