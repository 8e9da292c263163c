#pragma once

// The settings store: named keys ("Settings", "Browsers", "Browser-01", or a sub-key such as "Browsers\Extra"), each
// holding named values that are a DWORD, a string (Windows-1252 bytes) or a block of bytes. The program reads and
// writes it with the profile calls; Save puts it on disk.
//
// On disk it is one binary file, all integers little-endian:
//     "PKS1"  u32 key count
//     per key:   u32 name length, name bytes, u32 value count
//     per value: u32 name length, name bytes, u8 type (1 string, 3 bytes, 4 DWORD), u32 data length, data bytes
// Binary because strings and blocks may hold any byte, so nothing needs escaping, and every part is bounded by a
// length that the reader checks against what remains. Keys and values are written in name order, so the same store
// always gives the same bytes. A file that breaks any rule (bad magic, a length beyond the end, a DWORD that is not
// four bytes, an unknown type, a name twice, bytes after the last key) is refused whole: the store then starts
// empty rather than with a guess at which half of the settings survived.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CKeyStore
{
public:
    enum ValueType : uint8_t
    {
        typeString = 1,
        typeBinary = 3,
        typeDword = 4,
    };

    // The store kept in the file at path; empty until Load.
    explicit CKeyStore(std::string path);

    // The file of the program's settings: "settings.keys" in the settings folder; empty when there is no settings
    // folder.
    static std::string DefaultPath();

    // Replaces the store with the file's contents. A missing file, or no file path at all, gives an empty store
    // and true. A file that cannot
    // be read or is refused also gives an empty store, and false with the cause in *error when given.
    bool Load(CFileException* error = nullptr);
    // Writes the store to its file atomically: the folder is made when missing and kept to its owner (mode 0700),
    // the file likewise (mode 0600), since the settings hold passwords. False, with the cause in *error when given,
    // when it fails (badPath for a store without a file path); the file on disk is then the one before.
    bool Save(CFileException* error = nullptr) const;

    // The store in the file format, and the reverse. Parse leaves the store empty and returns false on a refused
    // file.
    std::vector<uint8_t> Serialize() const;
    bool Parse(const uint8_t* data, size_t size);

    // The value, or defaultValue when it is missing or of another type.
    UINT GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) const;
    // False, with *data untouched, when the value is missing or of another type.
    bool GetProfileBinary(const std::string& section, const std::string& entry, std::vector<BYTE>* data) const;

    // Sets the value, making the key when missing and replacing a value of any type under that name. False for an
    // empty section name.
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);
    bool WriteProfileBinary(const std::string& section, const std::string& entry, const BYTE* data, size_t size);

    // Removes one value; false when there was none.
    bool DeleteValue(const std::string& section, const std::string& entry);
    // Removes the key with all its values and every key below it; false when there was none of them.
    bool DeleteTree(const std::string& section);

    // Whether the key exists (a key stays after its last value is deleted).
    bool HasSection(const std::string& section) const;

    const std::string& GetPath() const { return m_path; }

private:
    struct Value
    {
        ValueType type = typeString;
        std::vector<BYTE> data;
    };
    using Key = std::map<std::string, Value>;

    const Value* Find(const std::string& section, const std::string& entry, ValueType type) const;
    bool Set(const std::string& section, const std::string& entry, ValueType type, const BYTE* data, size_t size);

    std::string m_path;
    std::map<std::string, Key> m_keys;
};
