#pragma once

// What the library's tests share: a private settings folder and registry, message boxes and assertions that are
// recorded instead of shown, fake browsers on the conversation bus, and a program that records its arguments.

#include "browser/browser.h"
#include "browser/dde_bus.h"
#include "browser/easydde.h"
#include "browser/memory.h"
#include "browser/profile.h"
#include "browser/report.h"
#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kitefly::test {

struct Box
{
    std::string text;
    std::string caption;
    unsigned style;
};

// A browser answering on the bus under a service name: it takes the topics it is given and records every request.
class FakeBrowserServer : public DdeServer
{
public:
    using Answer = std::function<Reply(const std::string& item)>;

    explicit FakeBrowserServer(const std::string& service) { DdeRegisterServer(service, this); }
    ~FakeBrowserServer() override { DdeUnregisterServer(this); }

    // The topic is taken; each request on it gets the answer (an empty reply by default).
    void Answers(const std::string& topic, Answer answer = {}) { m_topics[topic] = std::move(answer); }
    void Leave() { DdeUnregisterServer(this); }

    bool Connect(const std::string& topic) override { return m_topics.count(topic) != 0; }
    Reply Request(const std::string& topic, const std::string& item, UINT) override
    {
        requests.emplace_back(topic, item);
        const Answer& answer = m_topics[topic];
        if (!answer)
            return {std::string(), DMLERR_NO_ERROR};
        return answer(item);
    }

    std::vector<std::pair<std::string, std::string>> requests; // topic, item

private:
    std::map<std::string, Answer> m_topics;
};

// The ids as a list reply: 4-byte words in the machine's order.
inline std::string WordsReply(const std::vector<std::uint32_t>& words)
{
    return std::string(reinterpret_cast<const char*>(words.data()), words.size() * 4);
}

inline void WriteFile(const std::string& path, const std::string& text, bool executable = false)
{
    std::ofstream(path, std::ios::binary) << text;
    if (executable)
        ::chmod(path.c_str(), 0755);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The library with a settings folder, a registry and boxes of its own; the DDE client runs unless told otherwise.
class LibraryTest : public ::testing::Test
{
protected:
    LibraryTest() : m_config("XDG_CONFIG_HOME", m_folder.Path().c_str())
    {
        ::mkdir(ProfileFolder().c_str(), 0700);
        ClearRegistry();
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
            boxes.push_back({text, caption, style});
            return boxAnswer;
        });
        SetAssertHandler([this](const char* condition, const char*, int) { asserts.push_back(condition); });
    }
    ~LibraryTest() override
    {
        SetMessageBoxHandler({});
        SetAssertHandler({});
        ClearRegistry();
    }

    std::string Folder(const std::string& name) const { return m_folder / name; }
    void Setting(const std::string& key, const std::string& value)
    {
        WritePrivateProfileString("Browser", key, value, "Kitefly.ini");
    }

    // An executable that appends each of its arguments, one a line, and then "END" to the file `Recorded()` reads.
    std::string Recorder()
    {
        const std::string script = Folder("record browser.sh");
        WriteFile(script,
                  "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\" >> '" + Folder("recorded") +
                      "'; done\necho END >> '" + Folder("recorded") + "'\n",
                  true);
        return script;
    }
    // What the recorder wrote, once it has finished (empty when it was not started within a generous wait).
    std::string Recorded()
    {
        for (int i = 0; i < 200; ++i) {
            const std::string text = ReadFile(Folder("recorded"));
            if (text.find("END\n") != std::string::npos)
                return text.substr(0, text.find("END\n"));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return {};
    }
    bool RecorderStarted() { return ReadFile(Folder("recorded")).find("END") != std::string::npos; }

    std::vector<Box> boxes;
    int boxAnswer = IDNO;
    std::vector<std::string> asserts;

private:
    ScratchFolder m_folder;
    ScopedEnv m_config;
};

// With the DDE client started, as the open library has it.
class ClientTest : public LibraryTest
{
protected:
    ClientTest()
    {
        MemStart(nullptr);
        DdeClientStart(nullptr);
    }
    ~ClientTest() override
    {
        DdeClientStop();
        MemStop();
    }
};

} // namespace kitefly::test
