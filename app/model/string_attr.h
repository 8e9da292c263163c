#pragma once

// An optional string stored with the objects: their alternate text, among others. Costs nothing in the file
// while it is empty.

#include <memory>
#include <string>

#include "app/model/record_stream.h"

class CStringAttr
{
public:
    static constexpr DWORD kTag = 0x8AB3402C;

    CStringAttr() = default;
    explicit CStringAttr(std::string text) : m_strText(std::move(text)) {}
    CStringAttr(const CStringAttr&) = default;
    CStringAttr& operator=(const CStringAttr&) = default;

    // A new copy; the caller owns it.
    std::unique_ptr<CStringAttr> Clone() const { return std::make_unique<CStringAttr>(*this); }

    const std::string& GetString() const { return m_strText; }
    void SetString(std::string text) { m_strText = std::move(text); }
    bool IsEmpty() const { return m_strText.empty(); }

    bool operator==(const CStringAttr& other) const = default;

    // Nothing while the text is empty; else the tag and the counted string (cut at the readers' limit).
    void Write(CFile& file) const;
    // Files before 1.6 hold no such record. A missing tag leaves the text as it is.
    void Read(CFile& file, int major, int minor);

    // Reads the counted string that every record's strings are stored as.
    static void ReadBody(CFile& file, std::string& text, UINT maxLength = kMaxStringLength);

private:
    std::string m_strText;
};
