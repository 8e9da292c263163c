#include "app/dialogs/welcome.h"

#include "app/model/app_settings.h"

void ApplyWelcomeChoice(bool ok, const WelcomeChoice& choice, CAppSettings& settings)
{
    if (ok)
        settings.m_showStartUpDialog = !choice.dontShowAgain;
}
