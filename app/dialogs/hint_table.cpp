#include "app/dialogs/hint_table.h"

#include <iterator>

namespace {

const HintRow kHints[] = {
    {kArrowToolHint, 1569, &CAppSettings::m_showArrowToolHelp, 1, false},
    {kTextToolHint, 1575, &CAppSettings::m_showTextToolHelp, 2, false},
    {kPolygonToolHint, 1566, &CAppSettings::m_showPolygonToolHelp, 3, false},
    {kPictureToolHint, 1570, &CAppSettings::m_showPictureToolHelp, 5, false},
    {kHtmlToolHint, 1545, &CAppSettings::m_showHtmlToolHelp, 6, false},
    {kFlashToolHint, 1643, &CAppSettings::m_showAddFlashToolHelp, 7, false},
    {kCounterToolHint, 1577, &CAppSettings::m_showCounterToolHelp, 8, false},
    {kFormToolHint, 1426, &CAppSettings::m_showFormularToolHelp, 9, false},
    {kEyedropperToolHint, 1511, &CAppSettings::m_showPipetteToolHelp, 11, false},
    {kAdvancedTextHint, 1578, &CAppSettings::m_showAdvancedTextHelp, 0, true},
    {kMouseoverHint, 1547, &CAppSettings::m_showMouseoverHelp, 0, false},
};

} // namespace

const HintRow* FindHint(int id)
{
    for (const HintRow& row : kHints)
        if (row.id == id)
            return &row;
    return nullptr;
}

const HintRow* FindToolHint(int tool)
{
    for (const HintRow& row : kHints)
        if (row.tool != 0 && row.tool == tool)
            return &row;
    return nullptr;
}

const HintRow* GetHintRows(size_t& count)
{
    count = std::size(kHints);
    return kHints;
}

bool IsHintOn(const CAppSettings& settings, const HintRow& hint)
{
    return settings.*hint.flag;
}

void ApplyHintAnswer(CAppSettings& settings, const HintRow& hint, int result, bool ticked)
{
    if (result == IDOK && ticked)
        settings.*hint.flag = false;
}
