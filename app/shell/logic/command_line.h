#pragma once

// The program's command line. Besides a site or theme file to open, it knows one utility mode that scrambles a
// file and ends without a window:
//     pelorin crypt <input> <output>
// The mode starts only for exactly these three words, so a site whose path merely holds the word opens as a site.

#include <string>
#include <vector>

struct CommandLine
{
    enum Kind
    {
        none,
        openFile,
        crypt,
    };
    Kind kind = none;
    // The file to open, or the input and output of the utility mode.
    std::string file;
    std::string cryptInput;
    std::string cryptOutput;
};

// The arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// At most this many bytes of the input are scrambled; the rest is not written.
inline constexpr size_t kCryptMaxBytes = 32768;

// XORs each byte at position k with letter k mod 256 of the program's key table. Running it twice gives back the
// original bytes.
void CryptBytes(std::string& bytes);

// The utility mode: reads at most kCryptMaxBytes of input and writes them scrambled to output. It never writes
// onto its input (the same path, or another name of the same file). False, with the cause in *error, when it
// cannot read, refuses, or cannot write.
bool RunCryptMode(const std::string& input, const std::string& output, std::string* error);
