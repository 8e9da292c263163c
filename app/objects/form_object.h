#pragma once

// The e-mail form: on the canvas a fixed picture of a form, in the built page a fixed HTML form that posts the
// visitor's name, e-mail address, postal address and request to a form-mail script, which mails them to the
// receiver address the object keeps. It only moves.

#include <memory>
#include <string>

#include "app/objects/page_object.h"
#include "app/objects/placed_image.h"

class CFormObject : public CPlacedObject
{
public:
    // The form's colours and its shape, a grey mask whose size is the form's.
    static constexpr unsigned kColourBitmap = 506;
    static constexpr unsigned kMaskBitmap = 508;
    // The bytes a form adds to its page.
    static constexpr int kDownloadSize = 1000;
    // Where the form posts to.
    static constexpr const char* kFormMailScript = "http://forms.pelorin.net/Scripts/Formular1DK.php4";

    // From the form tool: the picture is rendered and centred on the point as nearly as whole pixels allow.
    CFormObject(std::string address, POINT centre);
    // From an address and a centre, without rendering: the size stays 0 x 0 until the picture is made.
    CFormObject(std::string address, double cx, double cy);
    // What the object factory makes before Load: no receiver, at (0, 0).
    static std::unique_ptr<CPageObject> Create();

    std::string GetEmailAddress() const { return address; }
    void SetEmailAddress(std::string text) { address = std::move(text); }
    // The form as the page writer puts it on the page, the receiver address escaped for its attribute.
    std::string GetFormHtml() const;

    bool UpdateImage(CPixMap& scratch) override;
    void OnPageDeleted(int) override {}
    void ClampPageLinks(int) override {}
    void ResetPageLinks() override {}
    int GetKind() const override { return objectForm; }
    int GetDownloadSize(double divisor) const override;
    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    std::unique_ptr<CPageObject> Clone() const override;
    void CopyFrom(CPageObject& other) override;

private:
    bool Render();

    std::string address;
};

// Text made safe to stand inside an HTML attribute or element: &, <, >, " and ' become entities.
std::string EscapeHtml(const std::string& text);
