#include "app/shell/logic/command_line.h"

#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(CommandLine, UtilityModeOnlyForExactlyCryptAndTwoFiles)
{
    struct Case
    {
        std::vector<std::string> arguments;
        CommandLine::Kind kind;
        std::string file;
    };
    const Case cases[] = {
        {{}, CommandLine::none, ""},
        {{"crypt", "in.bin", "out.bin"}, CommandLine::crypt, ""},
        {{"/home/ann/cryptography/site.kst"}, CommandLine::openFile, "/home/ann/cryptography/site.kst"},
        {{"crypt", "in.bin"}, CommandLine::openFile, "crypt"},
        {{"crypt", "a", "b", "c"}, CommandLine::openFile, "crypt"},
        {{"Crypt", "a", "b"}, CommandLine::openFile, "Crypt"},
        {{"--sync", "site.kst"}, CommandLine::openFile, "site.kst"},
        {{"--sync"}, CommandLine::none, ""},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.kind, c.kind) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.file, c.file) << ::testing::PrintToString(c.arguments);
    }
    const CommandLine crypt = ParseCommandLine({"crypt", "in.bin", "out.bin"});
    EXPECT_EQ(crypt.cryptInput, "in.bin");
    EXPECT_EQ(crypt.cryptOutput, "out.bin");
}

TEST(CommandLine, ScramblingTwiceGivesTheBytesBack)
{
    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += static_cast<char>(i * 7);
    std::string scrambled = bytes;
    CryptBytes(scrambled);
    EXPECT_NE(scrambled, bytes);
    // The key repeats every 256 bytes: equal input bytes 256 apart scramble alike.
    std::string repeated(513, 'x');
    CryptBytes(repeated);
    EXPECT_EQ(repeated[0], repeated[256]);
    EXPECT_EQ(repeated[1], repeated[257]);
    EXPECT_EQ(repeated[0], repeated[512]);
    // Every key byte is a capital letter.
    for (char c : repeated.substr(0, 256))
        EXPECT_TRUE((c ^ 'x') >= 'A' && (c ^ 'x') <= 'Z');
    CryptBytes(scrambled);
    EXPECT_EQ(scrambled, bytes);
}

TEST(CommandLine, CryptModeWritesAtMostTheLimitAndRefusesItsInput)
{
    ScratchFolder scratch;
    const std::string input = scratch / "in.bin";
    std::string bytes(kCryptMaxBytes + 100, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    WriteAll(input, bytes);

    std::string error;
    ASSERT_TRUE(RunCryptMode(input, scratch / "once.bin", &error)) << error;
    EXPECT_EQ(ReadAll(scratch / "once.bin").size(), kCryptMaxBytes);
    ASSERT_TRUE(RunCryptMode(scratch / "once.bin", scratch / "twice.bin", &error)) << error;
    EXPECT_EQ(ReadAll(scratch / "twice.bin"), bytes.substr(0, kCryptMaxBytes));

    // Onto its own input, by the same name or another: refused, and the input stays whole.
    std::filesystem::create_symlink(input, scratch / "alias.bin");
    for (const std::string& output : {input, scratch / "alias.bin", scratch / "./in.bin"}) {
        EXPECT_FALSE(RunCryptMode(input, output, &error)) << output;
        EXPECT_NE(error.find("input"), std::string::npos) << error;
        EXPECT_EQ(ReadAll(input), bytes);
    }
    // A missing input ends without creating the output.
    EXPECT_FALSE(RunCryptMode(scratch / "missing.bin", scratch / "out.bin", &error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.bin"));
    // An output in a folder that does not exist is reported.
    EXPECT_FALSE(RunCryptMode(input, scratch / "no/out.bin", &error));
    EXPECT_NE(error.find("out.bin"), std::string::npos) << error;
}

} // namespace
