#pragma once

// Encodes the build's pictures on the program's worker threads while the build goes on composing the next ones.
// Each picture is a file of its own, so the files come out the same as when written one after the other; a later
// picture for a path that is still being written waits for the earlier one, so the last one asked for is the one
// that stays.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/win/task_pool.h"

class CImage;

class CPictureWriter
{
public:
    // The pictures are made and written as tasks of pool (on a pool without helpers, each as it is asked for).
    explicit CPictureWriter(CTaskPool& pool);
    ~CPictureWriter();
    CPictureWriter(const CPictureWriter&) = delete;
    CPictureWriter& operator=(const CPictureWriter&) = delete;

    // Makes a picture on a worker thread; null (or an exception) counts as a picture that could not be written.
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

    private:
        CTaskPool::Hold m_hold;
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

    // The task of one job: makes and writes the picture, then notes that the path and group are done.
    void Write(const std::shared_ptr<Job>& job);
    bool IsBusyWith(const std::string& path) const;
    void Queue(Job job);
    // Waits on the pool, which runs queued pictures on this thread meanwhile, until done() holds under the lock.
    void WaitUntil(const std::function<bool()>& done);

    CTaskPool& m_pool;
    std::mutex m_mutex;
    // Jobs no thread has taken yet, by path: a later picture for the path takes the place of the earlier.
    std::map<std::string, std::shared_ptr<Job>> m_waiting;
    // Paths queued or being written, with how many jobs each.
    std::multiset<std::string> m_pending;
    // The groups of the jobs queued or being written, one entry a job.
    std::multiset<int> m_pendingGroups;
    std::vector<Failure> m_failures;
    unsigned long m_nextSequence = 0;
};
