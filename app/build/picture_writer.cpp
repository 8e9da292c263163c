#include "app/build/picture_writer.h"

#include <algorithm>
#include <exception>

#include "image/image.h"
#include "platform/io/io.h"

namespace {

// The quality and flags every built picture is saved with.
constexpr unsigned kPictureSaveFlags = 8;
constexpr int kPictureSaveQuality = 98;

} // namespace

CPictureWriter::CPictureWriter(unsigned threads)
{
    if (threads == 0) {
        const unsigned cores = std::thread::hardware_concurrency();
        threads = std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 8u);
    }
    for (unsigned i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { Work(); });
}

CPictureWriter::~CPictureWriter()
{
    WaitAll();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_queued.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

bool CPictureWriter::IsBusyWith(const std::string& path) const
{
    return m_pending.count(path) != 0;
}

void CPictureWriter::Save(const std::string& path, std::unique_ptr<CImage> picture, const std::string& context)
{
    Job job;
    job.path = path;
    job.picture = std::move(picture);
    job.context = context;
    Queue(std::move(job));
}

void CPictureWriter::Save(const std::string& path, Maker make, const std::string& context, int group)
{
    Job job;
    job.path = path;
    job.make = std::move(make);
    job.context = context;
    job.group = group;
    Queue(std::move(job));
}

void CPictureWriter::Queue(Job job)
{
    std::unique_lock lock(m_mutex);
    // A picture still waiting for a thread is replaced: only the last one asked for would stay.
    for (Job& waiting : m_jobs)
        if (waiting.path == job.path) {
            m_pendingGroups.erase(m_pendingGroups.find(waiting.group));
            m_pendingGroups.insert(job.group);
            waiting.picture = std::move(job.picture);
            waiting.make = std::move(job.make);
            waiting.context = std::move(job.context);
            waiting.group = job.group;
            return;
        }
    // One writer a file at a time, in the order asked.
    if (IsBusyWith(job.path)) {
        StartHeld();
        m_done.wait(lock, [&] { return !IsBusyWith(job.path); });
    }
    m_pending.insert(job.path);
    m_pendingGroups.insert(job.group);
    job.sequence = m_nextSequence++;
    m_jobs.push_back(std::move(job));
    // In a batch, one thread at least stays awake for the queue, so a batch open long is no pause.
    if (m_batches > 0 && m_idle < m_threads.size()) {
        m_held = true;
        return;
    }
    lock.unlock();
    m_queued.notify_one();
}

void CPictureWriter::StartHeld()
{
    if (!m_held)
        return;
    m_held = false;
    m_queued.notify_all();
}

CPictureWriter::Batch::Batch(CPictureWriter& writer) : m_writer(writer)
{
    std::lock_guard lock(m_writer.m_mutex);
    ++m_writer.m_batches;
}

CPictureWriter::Batch::~Batch()
{
    std::lock_guard lock(m_writer.m_mutex);
    if (--m_writer.m_batches == 0)
        m_writer.StartHeld();
}

bool CPictureWriter::IsGroupBusy(int group)
{
    std::lock_guard lock(m_mutex);
    return m_pendingGroups.count(group) != 0;
}

void CPictureWriter::WaitForGroup(int group)
{
    std::unique_lock lock(m_mutex);
    StartHeld();
    m_done.wait(lock, [&] { return m_pendingGroups.count(group) == 0; });
}

void CPictureWriter::WaitFor(const std::string& path)
{
    std::unique_lock lock(m_mutex);
    StartHeld();
    m_done.wait(lock, [&] { return !IsBusyWith(path); });
}

bool CPictureWriter::WaitAll(std::string* failedPath, std::string* failedContext)
{
    std::unique_lock lock(m_mutex);
    StartHeld();
    m_done.wait(lock, [&] { return m_pending.empty(); });
    if (m_failures.empty())
        return true;
    const auto first = std::min_element(m_failures.begin(), m_failures.end(),
                                        [](const Failure& a, const Failure& b) { return a.sequence < b.sequence; });
    if (failedPath)
        *failedPath = first->path;
    if (failedContext)
        *failedContext = first->context;
    m_failures.clear();
    return false;
}

void CPictureWriter::Work()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        ++m_idle;
        m_queued.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
        --m_idle;
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();

        bool saved = false;
        try {
            if (job.make)
                job.picture = job.make();
            saved = job.picture && CIO::SaveImage(job.path, *job.picture, kPictureSaveFlags, kPictureSaveQuality);
        } catch (const std::exception&) {
            // Memory ran out for the picture or the encoder: it counts as not written, and the build says so.
        }
        job.picture.reset();
        job.make = nullptr;

        lock.lock();
        if (!saved)
            m_failures.push_back(Failure{job.sequence, job.path, job.context});
        m_pending.erase(m_pending.find(job.path));
        m_pendingGroups.erase(m_pendingGroups.find(job.group));
        lock.unlock();
        m_done.notify_all();
    }
}
