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
    std::unique_lock lock(m_mutex);
    // A picture still waiting for a thread is replaced: only the last one asked for would stay.
    for (Job& job : m_jobs)
        if (job.path == path) {
            job.picture = std::move(picture);
            job.context = context;
            return;
        }
    // One writer a file at a time, in the order asked.
    m_done.wait(lock, [&] { return !IsBusyWith(path); });
    m_pending.insert(path);
    m_jobs.push_back(Job{m_nextSequence++, path, std::move(picture), context});
    lock.unlock();
    m_queued.notify_one();
}

void CPictureWriter::WaitFor(const std::string& path)
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] { return !IsBusyWith(path); });
}

bool CPictureWriter::WaitAll(std::string* failedPath, std::string* failedContext)
{
    std::unique_lock lock(m_mutex);
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
        m_queued.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();

        bool saved = false;
        try {
            saved = job.picture && CIO::SaveImage(job.path, *job.picture, kPictureSaveFlags, kPictureSaveQuality);
        } catch (const std::exception&) {
            // Memory ran out for the encoder: the picture counts as not written, and the build says so.
        }
        job.picture.reset();

        lock.lock();
        if (!saved)
            m_failures.push_back(Failure{job.sequence, job.path, job.context});
        m_pending.erase(m_pending.find(job.path));
        lock.unlock();
        m_done.notify_all();
    }
}
