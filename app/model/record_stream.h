#pragma once

// The primitives every record reads and writes itself with: little-endian integers, one-byte flags, three-byte
// colours, doubles, counted strings and optional record tags. Readers never trust the stream: a short read or a
// value out of range raises the file exception with the generic cause.

#include <cstdint>
#include <string>

#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

// The longest counted string a reader accepts; longer ones mean a damaged file.
constexpr UINT kMaxStringLength = 20048;
// Code strings (HTML, scripts) are allowed to be much longer.
constexpr UINT kMaxCodeStringLength = 2000000;

// Raises the file exception that stands for bad data in a record.
[[noreturn]] void ThrowBadRecord();

// Reads exactly count bytes or raises the file exception.
void ReadExact(CFile& file, void* buffer, UINT count);

int32_t ReadInt32(CFile& file);
void WriteInt32(CFile& file, int32_t value);
DWORD ReadUInt32(CFile& file);
void WriteUInt32(CFile& file, DWORD value);

BYTE ReadByte(CFile& file);
void WriteByte(CFile& file, BYTE value);
// A flag is one byte; any value but 0 reads as set, and it is written as 0 or 1.
bool ReadFlag(CFile& file);
void WriteFlag(CFile& file, bool value);

// Three bytes red, green, blue; read back as a colour of mode 3. Colours of other modes are written through
// their RGB value so that the three bytes always mean red, green and blue.
CColor ReadColor(CFile& file);
void WriteColor(CFile& file, const CColor& color);

// Eight bytes of an IEEE double, little-endian.
double ReadDouble(CFile& file);
void WriteDouble(CFile& file, double value);

// A 4-byte length and that many bytes. A negative length or one above maxLength raises the file exception.
std::string ReadCountedString(CFile& file, UINT maxLength = kMaxStringLength);
// Writes at most maxLength bytes of the text, so that what is written can always be read again.
void WriteCountedString(CFile& file, const std::string& text, UINT maxLength = kMaxStringLength);

// For records that may be absent: reads 4 bytes and answers whether they are the tag. When they are not (or the
// stream ends before 4 bytes), the position goes back to where it was and the record keeps its defaults.
bool ReadOptionalTag(CFile& file, DWORD tag);

// Whether the file's version major.minor is at least M.m.
constexpr bool IsVersionAtLeast(int major, int minor, int M, int m)
{
    return major > M || (major == M && minor >= m);
}

// The version every writer writes.
constexpr int kCurrentMajorVersion = 5;
constexpr int kCurrentMinorVersion = 15;
