// The character format record of texts. The first two bytes give the file version it is read as (major 1 to 5,
// minor 0 to 15).

#include <cstdlib>
#include <string>
#include <vector>

#include "app/model/record_stream.h"
#include "app/objects/text_body.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int major = 1 + data[0] % 5;
    const int minor = data[1] % 16;
    std::vector<BYTE> bytes(data + 2, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CTextChar character;
    try {
        character.ReadFormat(file, major, minor);
    } catch (const CFileException&) {
        return 0;
    }
    // What was read must write again.
    CMemFile out;
    character.WriteFormat(out);
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const auto save = [&](const std::string& name, const CTextChar& character) {
        CMemFile file;
        character.WriteFormat(file);
        WriteFuzzSeed(folder, name, WithPrefix({kCurrentMajorVersion - 1, kCurrentMinorVersion}, file));
    };
    CTextChar plain;
    save("plain", plain);
    CTextChar styled;
    styled.m_faceIndex = 1;
    styled.m_pointSize = 36;
    styled.m_bBold = styled.m_bItalic = styled.m_bUnderline = 1;
    styled.m_color = 0x00336699;
    styled.m_link.SetUrl("http://example.com/page");
    save("styled-link", styled);
}
