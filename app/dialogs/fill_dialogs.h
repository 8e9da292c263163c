#pragma once

// What the image-fill dialogs (the fill's picture is missing, or not a picture) and the picture-larger-than-the-page
// question decide, without a window.

// The image-fill dialog's state. Each of the two dialogs remembers, as long as the program runs, whether the user
// last chose to try again; the next one opens with the solid-colour box ticked exactly when that was not so.
class CFillPictureChoice
{
public:
    explicit CFillPictureChoice(bool& lastTryAgain);

    bool IsSolidTicked() const { return m_solid; }
    bool IsOkEnabled() const { return m_solid; }
    bool GetTryAgain() const { return m_tryAgain; }

    // A colour picked in the colour well means the solid colour is wanted.
    void OnColorChanged() { m_solid = true; }
    void OnSolidClicked(bool ticked) { m_solid = ticked; }
    void OnTryAgain();
    void OnOK();

private:
    bool& m_lastTryAgain;
    bool m_solid;
    bool m_tryAgain;
};

// The remembered choices of the missing-picture (417) and invalid-picture (418) dialogs.
bool& FillPictureLastChoice(int dialogId);

// The two boxes of the picture-larger-than-the-page question: fit the picture to the page, and keep its aspect
// ratio, which only applies while fitting.
struct PictureTooLargeChoice
{
    bool fit = true;
    bool keepAspect = true;
    bool keepAspectEnabled = true;

    // Any click on the fit box clears the aspect box, and enables it only while fitting.
    void ClickFit(bool ticked)
    {
        fit = ticked;
        keepAspect = false;
        keepAspectEnabled = ticked;
    }
    void ClickKeepAspect(bool ticked) { keepAspect = ticked; }
};
