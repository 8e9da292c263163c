#include "platform/win/key_store.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "platform/win/little_endian.h"
#include "platform/win/path.h"

namespace {

const uint8_t kMagic[4] = {'P', 'K', 'S', '1'};

// A settings file is a few kilobytes; anything far larger is not one, and reading it whole would only cost memory.
constexpr ULONGLONG kMaxFileBytes = 64ull << 20;

// Reads the parts of a stored file, each checked against the bytes that remain.
class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : m_p(data), m_left(size) {}

    bool U8(uint8_t& v)
    {
        if (m_left < 1)
            return false;
        v = *m_p++;
        --m_left;
        return true;
    }
    bool U32(uint32_t& v)
    {
        if (m_left < 4)
            return false;
        v = LoadLE32(m_p);
        m_p += 4;
        m_left -= 4;
        return true;
    }
    // A u32 length and that many bytes.
    bool Bytes(std::vector<BYTE>& out)
    {
        uint32_t n;
        if (!U32(n) || n > m_left)
            return false;
        out.assign(m_p, m_p + n);
        m_p += n;
        m_left -= n;
        return true;
    }
    bool Text(std::string& out)
    {
        uint32_t n;
        if (!U32(n) || n > m_left)
            return false;
        out.assign(reinterpret_cast<const char*>(m_p), n);
        m_p += n;
        m_left -= n;
        return true;
    }
    // A count of records of at least minBytes each, which the remaining bytes must be able to hold.
    bool Count(uint32_t& n, size_t minBytes) { return U32(n) && n <= m_left / minBytes; }
    size_t Left() const { return m_left; }

private:
    const uint8_t* m_p;
    size_t m_left;
};

void PutU32(std::vector<uint8_t>& out, size_t v)
{
    uint8_t b[4];
    StoreLE32(b, static_cast<uint32_t>(v));
    out.insert(out.end(), b, b + 4);
}

template <class Bytes> void PutBytes(std::vector<uint8_t>& out, const Bytes& bytes)
{
    PutU32(out, bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Makes each missing folder of path, private to the user; the last one (the program's own) is made private even
// when it was there before.
bool MakePrivateFolder(const std::string& folder, CFileException* error)
{
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = CFileException(CFileException::OsErrorToException(errno), errno, part);
            return false;
        }
    }
    std::string last = folder;
    while (last.size() > 1 && last.back() == '/')
        last.pop_back();
    if (!last.empty() && ::chmod(last.c_str(), 0700) != 0) {
        if (error)
            *error = CFileException(CFileException::OsErrorToException(errno), errno, last);
        return false;
    }
    return true;
}

} // namespace

CKeyStore::CKeyStore(std::string path) : m_path(std::move(path)) {}

std::string CKeyStore::DefaultPath()
{
    const std::string folder = GetConfigFolder();
    return folder.empty() ? std::string() : folder + "settings.keys";
}

bool CKeyStore::Load(CFileException* error)
{
    m_keys.clear();
    if (m_path.empty())
        return true;
    CFile file;
    CFileException openError;
    if (!file.Open(m_path, CFile::modeRead, &openError)) {
        if (openError.m_cause == CFileException::fileNotFound)
            return true;
        if (error)
            *error = openError;
        return false;
    }
    try {
        const ULONGLONG length = file.GetLength();
        if (length > kMaxFileBytes)
            AfxThrowFileException(CFileException::invalidFile, -1, m_path);
        std::vector<uint8_t> bytes(static_cast<size_t>(length));
        bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
        file.Close();
        if (!Parse(bytes.data(), bytes.size()))
            AfxThrowFileException(CFileException::invalidFile, -1, m_path);
    } catch (const CFileException& e) {
        file.Abort();
        m_keys.clear();
        if (error)
            *error = e;
        return false;
    }
    return true;
}

bool CKeyStore::Save(CFileException* error) const
{
    if (m_path.empty()) {
        if (error)
            *error = CFileException(CFileException::badPath);
        return false;
    }
    const size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && !MakePrivateFolder(m_path.substr(0, slash + 1), error))
        return false;
    const std::vector<uint8_t> bytes = Serialize();
    return SaveFileSafely(
        m_path,
        [&](CFile& file) {
            // Whatever mode an older file had, this one holds passwords.
            if (::chmod(file.GetFilePath().c_str(), 0600) != 0)
                AfxThrowFileException(CFileException::OsErrorToException(errno), errno, m_path);
            file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
            return true;
        },
        error);
}

std::vector<uint8_t> CKeyStore::Serialize() const
{
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    PutU32(out, m_keys.size());
    for (const auto& [name, key] : m_keys) {
        PutBytes(out, name);
        PutU32(out, key.size());
        for (const auto& [entry, value] : key) {
            PutBytes(out, entry);
            out.push_back(value.type);
            PutBytes(out, value.data);
        }
    }
    return out;
}

bool CKeyStore::Parse(const uint8_t* data, size_t size)
{
    m_keys.clear();
    if (size < 4 || std::memcmp(data, kMagic, 4) != 0)
        return false;
    Reader in(data + 4, size - 4);
    std::map<std::string, Key> keys;
    uint32_t keyCount;
    // The least a key takes is its name length and value count; a value, its name length, type and data length.
    if (!in.Count(keyCount, 8))
        return false;
    for (uint32_t k = 0; k < keyCount; ++k) {
        std::string name;
        uint32_t valueCount;
        if (!in.Text(name) || name.empty() || keys.count(name) || !in.Count(valueCount, 9))
            return false;
        Key& key = keys[name];
        for (uint32_t v = 0; v < valueCount; ++v) {
            std::string entry;
            uint8_t type;
            Value value;
            if (!in.Text(entry) || key.count(entry) || !in.U8(type) || !in.Bytes(value.data))
                return false;
            if (type != typeString && type != typeBinary && type != typeDword)
                return false;
            if (type == typeDword && value.data.size() != 4)
                return false;
            value.type = static_cast<ValueType>(type);
            key.emplace(std::move(entry), std::move(value));
        }
    }
    if (in.Left() != 0)
        return false;
    m_keys = std::move(keys);
    return true;
}

const CKeyStore::Value* CKeyStore::Find(const std::string& section, const std::string& entry, ValueType type) const
{
    const auto key = m_keys.find(section);
    if (key == m_keys.end())
        return nullptr;
    const auto value = key->second.find(entry);
    if (value == key->second.end() || value->second.type != type)
        return nullptr;
    return &value->second;
}

UINT CKeyStore::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const
{
    const Value* value = Find(section, entry, typeDword);
    return value ? LoadLE32(value->data.data()) : static_cast<UINT>(defaultValue);
}

std::string CKeyStore::GetProfileString(const std::string& section, const std::string& entry,
                                        const std::string& defaultValue) const
{
    const Value* value = Find(section, entry, typeString);
    return value ? std::string(value->data.begin(), value->data.end()) : defaultValue;
}

bool CKeyStore::GetProfileBinary(const std::string& section, const std::string& entry, std::vector<BYTE>* data) const
{
    const Value* value = Find(section, entry, typeBinary);
    if (!value)
        return false;
    if (data)
        *data = value->data;
    return true;
}

bool CKeyStore::Set(const std::string& section, const std::string& entry, ValueType type, const BYTE* data, size_t size)
{
    if (section.empty())
        return false;
    Value& value = m_keys[section][entry];
    value.type = type;
    value.data.assign(data, data + size);
    return true;
}

bool CKeyStore::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    BYTE bytes[4];
    StoreLE32(bytes, static_cast<uint32_t>(value));
    return Set(section, entry, typeDword, bytes, 4);
}

bool CKeyStore::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    return Set(section, entry, typeString, reinterpret_cast<const BYTE*>(value.data()), value.size());
}

bool CKeyStore::WriteProfileBinary(const std::string& section, const std::string& entry, const BYTE* data, size_t size)
{
    return Set(section, entry, typeBinary, data, size);
}

bool CKeyStore::DeleteValue(const std::string& section, const std::string& entry)
{
    const auto key = m_keys.find(section);
    return key != m_keys.end() && key->second.erase(entry) != 0;
}

bool CKeyStore::DeleteTree(const std::string& section)
{
    if (section.empty())
        return false;
    // The key itself, then the keys whose names continue it after a '\', which sort right behind it.
    bool found = m_keys.erase(section) != 0;
    const std::string prefix = section + "\\";
    for (auto it = m_keys.lower_bound(prefix);
         it != m_keys.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
        it = m_keys.erase(it);
        found = true;
    }
    return found;
}

bool CKeyStore::HasSection(const std::string& section) const
{
    return m_keys.count(section) != 0;
}
