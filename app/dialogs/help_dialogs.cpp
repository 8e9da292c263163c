#include "app/dialogs/help_dialogs.h"

const std::vector<HelpDialogBox>& GetHelpDialogBoxes()
{
    static const std::vector<HelpDialogBox> boxes = {
        {1602, &CAppSettings::m_bShowDailyTips},
        {1512, &CAppSettings::m_bShowStartUpDialog},
        {1515, &CAppSettings::m_bShowLargeObjectWarning},
        {1508, &CAppSettings::m_bShowTransparentShapeWarning},
        {1546, &CAppSettings::m_bShowAdvancedTextHelp},
        {1557, &CAppSettings::m_bShowMouseoverHelp},
        {1523, &CAppSettings::m_bShowArrowToolHelp},
        {1526, &CAppSettings::m_bShowTextToolHelp},
        {1650, &CAppSettings::m_bShowPolygonToolHelp},
        {1536, &CAppSettings::m_bShowPictureToolHelp},
        {1538, &CAppSettings::m_bShowCounterToolHelp},
        {1559, &CAppSettings::m_bShowHtmlToolHelp},
        {1601, &CAppSettings::m_bShowAddFlashToolHelp},
        {1542, &CAppSettings::m_bShowPipetteToolHelp},
        // The form tool's hint can be switched off by its dialog, so it has a box to switch it on again.
        {1539, &CAppSettings::m_bShowFormularToolHelp},
        {1560, &CAppSettings::m_bShowHtmlPreviewWarning},
        {1561, &CAppSettings::m_bShowHtmlSaveWarning},
    };
    return boxes;
}

std::vector<bool> ReadHelpDialogFlags(const CAppSettings& settings)
{
    std::vector<bool> states;
    for (const HelpDialogBox& box : GetHelpDialogBoxes())
        states.push_back(settings.*box.flag);
    return states;
}

void WriteHelpDialogFlags(CAppSettings& settings, const std::vector<bool>& boxes)
{
    const std::vector<HelpDialogBox>& all = GetHelpDialogBoxes();
    if (boxes.size() != all.size())
        return;
    for (size_t i = 0; i < all.size(); ++i)
        settings.*all[i].flag = boxes[i];
}
