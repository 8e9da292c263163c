#pragma once

// Encodes the build's pictures on worker threads while the build goes on composing the next ones. Each picture is
// a file of its own, so the files come out the same as when written one after the other; a later picture for a
// path that is still being written waits for the earlier one, so the last one asked for is the one that stays.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CImage;

class CPictureWriter
{
public:
    // threads 0: one less than the machine's cores, at least one, at most eight.
    explicit CPictureWriter(unsigned threads = 0);
    ~CPictureWriter();
    CPictureWriter(const CPictureWriter&) = delete;
    CPictureWriter& operator=(const CPictureWriter&) = delete;

    // Makes a picture on the writer's thread; null (or an exception) counts as a picture that could not be written.
    using Maker = std::function<std::unique_ptr<CImage>()>;

    // Queues the picture to be saved at path, in the format its extension names. context travels with a failure
    // (the builder passes the page's name).
    void Save(const std::string& path, std::unique_ptr<CImage> picture, const std::string& context);
    // The same for a picture that make draws when a thread takes the job. group tags the job (the builder passes
    // the page's number), for WaitForGroup.
    void Save(const std::string& path, Maker make, const std::string& context, int group);
    // The pictures asked for while a batch is open start together when it closes (or when anything waits on the
    // writer), with one wake-up for the threads instead of one a picture: waking a sleeping thread costs more than
    // queueing a picture. Threads already awake take them meanwhile.
    class Batch
    {
    public:
        explicit Batch(CPictureWriter& writer);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        CPictureWriter& m_writer;
    };

    // Whether any job of the group is queued or running; WaitForGroup returns once none is.
    bool IsGroupBusy(int group);
    void WaitForGroup(int group);
    // Returns once nothing queued or running writes path; the caller may then read, copy over or rename it.
    void WaitFor(const std::string& path);
    // Returns once every picture is written. False when any failed, with the first failure in the order the
    // pictures were asked for: its path and context.
    bool WaitAll(std::string* failedPath = nullptr, std::string* failedContext = nullptr);

private:
    struct Job
    {
        unsigned long sequence = 0;
        std::string path;
        std::unique_ptr<CImage> picture;
        Maker make;
        std::string context;
        int group = -1;
    };
    struct Failure
    {
        unsigned long sequence = 0;
        std::string path;
        std::string context;
    };

    void Work();
    bool IsBusyWith(const std::string& path) const;
    void Queue(Job job);
    // Wakes the threads for the jobs queued in a batch; under the lock.
    void StartHeld();

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_done;
    std::deque<Job> m_jobs;
    // Paths queued or being written, with how many jobs each.
    std::multiset<std::string> m_pending;
    // The groups of the jobs queued or being written, one entry a job.
    std::multiset<int> m_pendingGroups;
    std::vector<Failure> m_failures;
    unsigned long m_nextSequence = 0;
    // Open batches, and whether jobs queued in them have not been announced to the threads yet.
    int m_batches = 0;
    bool m_held = false;
    // Threads waiting for a job.
    size_t m_idle = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
