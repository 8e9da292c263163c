#include "app/shell/logic/command_line.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The scrambling key: any fixed table of 256 capital letters would do, but files scrambled by one build must be
// read back by the next, so it never changes.
constexpr char kCryptKey[] =
    "RJPPHVENJJDZLRWEUVWWFORYSBQRUCHODKMPAMSMKNINKSMBLZMTHZGDPILDIEOAMPNNOGFAEXEPIDPDZKBPBQCUUGKREXOAZHEHWEPDEQTOVWG"
    "AHVWJPGYLAMJMRKJALXRJFDFPBDBUYUMZMCLPTQJMJKICYGZDDRKUYMCIOAWMSMSYRNWWCPESQJWDDTEFIXOSOZZCAAJWQPNDACSECTCBZVSYYEI"
    "CKYVQLJPIIIOPVRVFIPVBKCEIDKHTOJFX";
static_assert(sizeof kCryptKey == 257, "the key holds 256 letters");

std::string Cause(const std::string& path, const char* what)
{
    return path + ": " + what + (errno ? std::string(" (") + std::strerror(errno) + ")" : std::string());
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    if (arguments.size() == 3 && arguments[0] == "crypt") {
        line.kind = CommandLine::crypt;
        line.cryptInput = arguments[1];
        line.cryptOutput = arguments[2];
        return line;
    }
    // The first argument that is no option names the file to open; options are the toolkit's.
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] != '-') {
            line.kind = CommandLine::openFile;
            line.file = argument;
            break;
        }
    }
    return line;
}

void CryptBytes(std::string& bytes)
{
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(bytes[k] ^ kCryptKey[k % 256]);
}

bool RunCryptMode(const std::string& input, const std::string& output, std::string* error)
{
    auto fail = [error](std::string cause) {
        if (error)
            *error = std::move(cause);
        return false;
    };
    std::error_code same;
    if (input == output || std::filesystem::equivalent(input, output, same))
        return fail(output + ": is the input file; the output must be another file");

    errno = 0;
    std::ifstream in(input, std::ios::binary);
    if (!in)
        return fail(Cause(input, "cannot be opened for reading"));
    std::string bytes(kCryptMaxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return fail(Cause(input, "cannot be read"));
    bytes.resize(static_cast<size_t>(in.gcount()));
    CryptBytes(bytes);

    errno = 0;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out)
        return fail(Cause(output, "cannot be created"));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return fail(Cause(output, "cannot be written"));
    return true;
}
