#include "app/objects/text_body.h"

#include <algorithm>
#include <string_view>

#include "app/objects/text_measure.h"
#include "platform/text/face_list.h"
#include "platform/win/little_endian.h"

const std::vector<std::string>& GetTextFaceNames()
{
    return GetInstalledFaceNames();
}

std::string GetTextFaceName(WORD faceIndex)
{
    const auto& faces = GetTextFaceNames();
    return faceIndex < faces.size() ? faces[faceIndex] : std::string();
}

WORD FindFontIndex(const std::string& face, const std::vector<std::string>& faces)
{
    // Indexes are 16 bits wide; a face beyond them could not be kept by a character.
    const size_t count = std::min<size_t>(faces.size(), 0x10000);
    for (const std::string_view name :
         {std::string_view(face), std::string_view("Arial"), std::string_view("MS Sans Serif")}) {
        for (size_t i = 0; i < count; ++i)
            if (faces[i] == name)
                return static_cast<WORD>(i);
    }
    return 0;
}

WORD FindFontIndex(const std::string& face)
{
    return FindFontIndex(face, GetTextFaceNames());
}

void CTextChar::WriteFormat(CFile& file) const
{
    WriteCountedString(file, GetTextFaceName(m_faceIndex));
    BYTE size[2];
    StoreLE16(size, m_pointSize);
    file.Write(size, 2);
    WriteByte(file, m_bBold);
    WriteByte(file, m_bItalic);
    WriteByte(file, m_bUnderline);
    WriteUInt32(file, m_color);
    m_link.Write(file);
}

void CTextChar::ReadFormat(CFile& file, int major, int minor)
{
    // Everything is read before anything is stored, so a damaged record leaves the character whole.
    const std::string face = ReadCountedString(file, kMaxStringLength);
    BYTE size[2];
    ReadExact(file, size, 2);
    const BYTE bold = ReadByte(file);
    const BYTE italic = ReadByte(file);
    const BYTE underline = ReadByte(file);
    const COLORREF color = ReadUInt32(file);
    // An inactive link is not written at all, so a record without one means no link, whatever the character had.
    CLinkInfo link;
    link.Read(file, major, minor);

    m_faceIndex = FindFontIndex(face);
    m_pointSize = LoadLE16(size);
    m_bBold = bold;
    m_bItalic = italic;
    m_bUnderline = underline;
    m_color = color;
    m_link = link;
}

bool CTextParagraph::IsLineEnd(int index) const
{
    for (size_t i = 1; i < m_lines.size(); i += 2)
        if (m_lines[i] == index)
            return true;
    return false;
}

bool CTextParagraph::IsLineStart(int index) const
{
    for (size_t i = 0; i < m_lines.size(); i += 2)
        if (m_lines[i] == index)
            return true;
    return false;
}

CTextBody::CTextBody(TextBodyOwner* owner, int width, int height) : m_nWidth(width), m_nHeight(height), m_pOwner(owner)
{
    InitDefaultLogFont(m_logFont);
    const TEXTMETRIC& metrics = GetTextFont(m_logFont)->GetTextMetrics();
    m_curAscent = metrics.tmAscent;
    m_curDescent = metrics.tmDescent;
    m_paragraphs.emplace_back();
}

CTextBody::~CTextBody() = default;

std::unique_ptr<CTextBody> CTextBody::Clone() const
{
    auto copy = std::make_unique<CTextBody>(m_pOwner, m_nWidth, m_nHeight);
    copy->m_logFont = m_logFont;
    copy->m_curAscent = m_curAscent;
    copy->m_curDescent = m_curDescent;
    copy->m_curColor = m_curColor;
    copy->m_caretPara = m_caretPara;
    copy->m_caretIndex = m_caretIndex;
    copy->m_caretX = m_caretX;
    copy->m_caretY = m_caretY;
    copy->m_caretHeight = m_caretHeight;
    copy->m_paragraphs = m_paragraphs;
    copy->m_alignment = m_alignment;
    copy->m_selectionEmpty = m_selectionEmpty;
    copy->m_anchorIndex = m_anchorIndex;
    copy->m_anchorPara = m_anchorPara;
    copy->m_focusIndex = m_focusIndex;
    copy->m_focusPara = m_focusPara;
    copy->m_widestChar = m_widestChar;
    copy->m_tallestChar = m_tallestChar;
    copy->m_allowAdvanced = m_allowAdvanced;
    return copy;
}

void CTextBody::SetModified()
{
    m_laidOut = 0;
    m_imageStale = 1;
    m_secondImageStale = 1;
    if (m_pOwner)
        m_pOwner->MarkTextObjectDirty();
}

void CTextBody::SetModifiedSecond()
{
    m_secondImageStale = 1;
    if (m_pOwner)
        m_pOwner->MarkTextObjectDirty();
}

void CTextBody::FreeCoverageImage()
{
    m_coverageImage.reset();
    m_imageStale = 1;
}

void CTextBody::FreeColorImage()
{
    m_colorImage.reset();
    m_secondImageStale = 1;
}

bool CTextBody::HasLinkedText() const
{
    for (const auto& para : m_paragraphs)
        for (const auto& ch : para.m_chars)
            if (ch.m_link.IsActive())
                return true;
    return false;
}

bool CTextBody::IsBlank() const
{
    for (const auto& para : m_paragraphs)
        for (const auto& ch : para.m_chars)
            if (!ch.IsBlank())
                return false;
    return true;
}

BYTE CTextBody::GetFirstChar() const
{
    for (const auto& para : m_paragraphs)
        if (!para.m_chars.empty())
            return para.m_chars.front().m_ch;
    return 0;
}

int CTextBody::GetCharCount() const
{
    int count = 0;
    for (const auto& para : m_paragraphs)
        count += para.GetCount();
    return m_paragraphs.empty() ? 0 : count + GetParagraphCount() - 1;
}

CLinkInfo CTextBody::GetTextLink() const
{
    for (const auto& para : m_paragraphs)
        for (const auto& ch : para.m_chars)
            if (ch.m_link.IsActive())
                return ch.m_link;
    if (!m_paragraphs.empty() && !m_paragraphs.front().m_chars.empty())
        return m_paragraphs.front().m_chars.front().m_link;
    return CLinkInfo();
}

const CLinkInfo* CTextBody::GetCaretLink() const
{
    if (m_caretPara < 0 || m_caretPara >= GetParagraphCount())
        return nullptr;
    const auto& chars = m_paragraphs[m_caretPara].m_chars;
    if (m_caretIndex <= 0 || m_caretIndex > static_cast<int>(chars.size()))
        return nullptr;
    return &chars[m_caretIndex - 1].m_link;
}

void CTextBody::GetOrderedSelection(int& startPara, int& endPara, int& startIndex, int& endIndex) const
{
    if (m_anchorPara < m_focusPara) {
        startPara = m_anchorPara;
        startIndex = m_anchorIndex;
        endPara = m_focusPara;
        endIndex = m_focusIndex;
    } else if (m_anchorPara > m_focusPara) {
        startPara = m_focusPara;
        startIndex = m_focusIndex;
        endPara = m_anchorPara;
        endIndex = m_anchorIndex;
    } else {
        startPara = endPara = m_anchorPara;
        startIndex = std::min(m_anchorIndex, m_focusIndex);
        endIndex = std::max(m_anchorIndex, m_focusIndex);
    }
}

bool CTextBody::IsCharSelected(int para, int index) const
{
    if (m_selectionEmpty)
        return false;
    int startPara = 0, endPara = 0, startIndex = 0, endIndex = 0;
    GetOrderedSelection(startPara, endPara, startIndex, endIndex);
    if (para > startPara && para < endPara)
        return true;
    if (para == startPara && para == endPara)
        return index >= startIndex && index < endIndex;
    if (para == startPara)
        return index >= startIndex;
    if (para == endPara)
        return index < endIndex;
    return false;
}
