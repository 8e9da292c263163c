#pragma once

// The link of a page object or of one text character: to a page of the site, an e-mail address, a web address
// or a document file, with a target frame. Costs nothing in the file while it is inactive.

#include <memory>
#include <string>

#include "app/model/record_stream.h"

// The target when it is one of the known ones (0 none, 1 "_self", 2 "_top", 3 "_blank", 4 "_parent"), else 0.
int ValidateLinkTarget(int target);

class CLinkInfo
{
public:
    static constexpr DWORD kTag = 0x7E3A8B93;

    enum Kind
    {
        kindPage = 0,
        kindEmail = 1,
        kindUrl = 2,
        kindFile = 3,
    };

    static constexpr const char* kDefaultEmail = "name@example.com";

    CLinkInfo() = default;
    CLinkInfo(const CLinkInfo& other);
    CLinkInfo& operator=(const CLinkInfo& other);

    // A new copy; the caller owns it.
    std::unique_ptr<CLinkInfo> Clone() const { return std::make_unique<CLinkInfo>(*this); }

    // Kind 0, inactive, page 0, no texts, no target.
    void Reset();

    // Whether the links lead to the same place: two inactive links always do; otherwise the fields that matter
    // for the kind are compared.
    bool IsEqual(const CLinkInfo& other) const;
    // Whether every field is the same.
    bool operator==(const CLinkInfo& other) const;
    bool operator!=(const CLinkInfo& other) const { return !(*this == other); }

    // Whether the link is on and leads to that page of the site.
    bool LeadsToPage(int page) const { return m_active && m_kind == kindPage && m_page == page; }
    // Follows the deletion of a page: a link to it is switched off (true is returned), a link to a later page
    // moves down by one.
    bool OnPageDeleted(int page);
    // Keeps the page index within a site of count pages (and never below 0).
    void ClampPageNumber(int count);
    // Page index 0; a page link is switched off too (the links came from another site).
    void ResetPageNumber();

    int GetKind() const { return m_kind; }
    // Kinds outside 0..3 are refused (the answer is false and nothing changes), since no file could hold them.
    bool SetKind(int kind);
    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    int GetPage() const { return m_page; }
    void SetPage(int page) { m_page = page; }
    const std::string& GetEmail() const { return m_email; }
    void SetEmail(std::string email) { m_email = std::move(email); }
    const std::string& GetUrl() const { return m_url; }
    void SetUrl(std::string url) { m_url = std::move(url); }
    const std::string& GetFile() const { return m_file; }
    void SetFile(std::string file) { m_file = std::move(file); }
    int GetTarget() const { return m_nTarget; }
    void SetTarget(int target) { m_nTarget = ValidateLinkTarget(target); }

    // Nothing for an inactive link.
    void Write(CFile& file) const;
    // A missing tag keeps the link as it is. Files 2.x to 4.x hold no file path, files before 5 no target.
    void Read(CFile& file, int major, int minor);

private:
    int m_kind = kindUrl;
    bool m_active = false;
    int m_page = 0;
    std::string m_email = kDefaultEmail;
    std::string m_url = "http:";
    std::string m_file;
    int m_nTarget = 0;
};
