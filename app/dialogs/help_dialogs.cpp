#include "app/dialogs/help_dialogs.h"

const std::vector<HelpDialogBox>& GetHelpDialogBoxes()
{
    static const std::vector<HelpDialogBox> boxes = {
        {1602, &CAppSettings::m_showDailyTips},
        {1512, &CAppSettings::m_showStartUpDialog},
        {1515, &CAppSettings::m_showLargeObjectWarning},
        {1508, &CAppSettings::m_showTransparentShapeWarning},
        {1546, &CAppSettings::m_showAdvancedTextHelp},
        {1557, &CAppSettings::m_showMouseoverHelp},
        {1523, &CAppSettings::m_showArrowToolHelp},
        {1526, &CAppSettings::m_showTextToolHelp},
        {1650, &CAppSettings::m_showPolygonToolHelp},
        {1536, &CAppSettings::m_showPictureToolHelp},
        {1538, &CAppSettings::m_showCounterToolHelp},
        {1559, &CAppSettings::m_showHtmlToolHelp},
        {1601, &CAppSettings::m_showAddFlashToolHelp},
        {1542, &CAppSettings::m_showPipetteToolHelp},
        // The form tool's hint can be switched off by its dialog, so it has a box to switch it on again.
        {1539, &CAppSettings::m_showFormularToolHelp},
        {1560, &CAppSettings::m_showHtmlPreviewWarning},
        {1561, &CAppSettings::m_showHtmlSaveWarning},
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
