#include "app/model/record_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/win/little_endian.h"

void ThrowBadRecord()
{
    AfxThrowFileException(CFileException::generic, -1);
}

void ReadExact(CFile& file, void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (file.Read(buffer, count) != count)
        ThrowBadRecord();
}

DWORD ReadUInt32(CFile& file)
{
    BYTE b[4];
    ReadExact(file, b, 4);
    return LoadLE32(b);
}

void WriteUInt32(CFile& file, DWORD value)
{
    BYTE b[4];
    StoreLE32(b, value);
    file.Write(b, 4);
}

int32_t ReadInt32(CFile& file)
{
    return static_cast<int32_t>(ReadUInt32(file));
}

void WriteInt32(CFile& file, int32_t value)
{
    WriteUInt32(file, static_cast<DWORD>(value));
}

BYTE ReadByte(CFile& file)
{
    BYTE b;
    ReadExact(file, &b, 1);
    return b;
}

void WriteByte(CFile& file, BYTE value)
{
    file.Write(&value, 1);
}

bool ReadFlag(CFile& file)
{
    return ReadByte(file) != 0;
}

void WriteFlag(CFile& file, bool value)
{
    WriteByte(file, value ? 1 : 0);
}

CColor ReadColor(CFile& file)
{
    BYTE rgb[3];
    ReadExact(file, rgb, 3);
    return CColor(rgb[0], rgb[1], rgb[2]);
}

void WriteColor(CFile& file, const CColor& color)
{
    const unsigned long ref = color.GetCOLORREF();
    const BYTE rgb[3] = {GetRValue(ref), GetGValue(ref), GetBValue(ref)};
    file.Write(rgb, 3);
}

double ReadDouble(CFile& file)
{
    BYTE b[8];
    ReadExact(file, b, 8);
    const uint64_t bits = LoadLE64(b);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteDouble(CFile& file, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    BYTE b[8];
    StoreLE64(b, bits);
    file.Write(b, 8);
}

std::string ReadCountedString(CFile& file, UINT maxLength)
{
    const int32_t length = ReadInt32(file);
    if (length < 0 || static_cast<UINT>(length) > maxLength)
        ThrowBadRecord();
    std::string text(static_cast<size_t>(length), '\0');
    ReadExact(file, text.data(), static_cast<UINT>(length));
    return text;
}

void WriteCountedString(CFile& file, const std::string& text, UINT maxLength)
{
    const UINT length = static_cast<UINT>(std::min<size_t>(text.size(), maxLength));
    WriteInt32(file, static_cast<int32_t>(length));
    if (length > 0)
        file.Write(text.data(), length);
}

bool ReadOptionalTag(CFile& file, DWORD tag)
{
    BYTE b[4];
    const UINT got = file.Read(b, 4);
    if (got == 4 && LoadLE32(b) == tag)
        return true;
    // An absent record at the very end of the data is as valid as one followed by other data.
    if (got > 0)
        file.Seek(-static_cast<LONGLONG>(got), CFile::current);
    return false;
}
