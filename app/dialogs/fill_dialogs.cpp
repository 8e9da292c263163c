#include "app/dialogs/fill_dialogs.h"

CFillPictureChoice::CFillPictureChoice(bool& lastTryAgain)
    : m_lastTryAgain(lastTryAgain), m_solid(!lastTryAgain), m_tryAgain(lastTryAgain)
{
}

void CFillPictureChoice::OnTryAgain()
{
    m_lastTryAgain = true;
    m_tryAgain = true;
}

void CFillPictureChoice::OnOK()
{
    m_lastTryAgain = false;
    m_tryAgain = false;
}

bool& FillPictureLastChoice(int dialogId)
{
    static bool missing = false;
    static bool invalid = false;
    return dialogId == 418 ? invalid : missing;
}
