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

CPictureWriter::CPictureWriter(CTaskPool& pool) : m_pool(pool) {}

CPictureWriter::~CPictureWriter()
{
    WaitAll();
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
    std::shared_ptr<Job> queued;
    while (!queued) {
        {
            std::lock_guard lock(m_mutex);
            // A picture still waiting for a thread is replaced: only the last one asked for would stay.
            if (const auto found = m_waiting.find(job.path); found != m_waiting.end()) {
                Job& waiting = *found->second;
                m_pendingGroups.erase(m_pendingGroups.find(waiting.group));
                m_pendingGroups.insert(job.group);
                waiting.picture = std::move(job.picture);
                waiting.make = std::move(job.make);
                waiting.context = std::move(job.context);
                waiting.group = job.group;
                return;
            }
            if (!IsBusyWith(job.path)) {
                job.sequence = m_nextSequence++;
                queued = std::make_shared<Job>(std::move(job));
                m_pending.insert(queued->path);
                m_pendingGroups.insert(queued->group);
                m_waiting.emplace(queued->path, queued);
                break;
            }
        }
        // One writer a file at a time, in the order asked.
        WaitUntil([&] { return !IsBusyWith(job.path) || m_waiting.count(job.path) != 0; });
    }
    m_pool.Post([this, queued] { Write(queued); });
}

void CPictureWriter::Write(const std::shared_ptr<Job>& queued)
{
    Job job;
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_waiting.find(queued->path); found != m_waiting.end() && found->second == queued)
            m_waiting.erase(found);
        job = std::move(*queued);
    }
    bool saved = false;
    try {
        if (job.make)
            job.picture = job.make();
        saved = job.picture && CIO::SaveImage(job.path, *job.picture, kPictureSaveFlags, kPictureSaveQuality);
    } catch (...) {
        // Memory ran out for the picture or the encoder: it counts as not written, and the build says so.
    }
    job.picture.reset();
    job.make = nullptr;

    std::lock_guard lock(m_mutex);
    if (!saved)
        m_failures.push_back(Failure{job.sequence, job.path, job.context});
    m_pending.erase(m_pending.find(job.path));
    m_pendingGroups.erase(m_pendingGroups.find(job.group));
}

CPictureWriter::Batch::Batch(CPictureWriter& writer) : m_hold(writer.m_pool) {}

void CPictureWriter::WaitUntil(const std::function<bool()>& done)
{
    m_pool.WaitUntil([&] {
        std::lock_guard lock(m_mutex);
        return done();
    });
}

bool CPictureWriter::IsGroupBusy(int group)
{
    std::lock_guard lock(m_mutex);
    return m_pendingGroups.count(group) != 0;
}

void CPictureWriter::WaitForGroup(int group)
{
    WaitUntil([&] { return m_pendingGroups.count(group) == 0; });
}

void CPictureWriter::WaitFor(const std::string& path)
{
    WaitUntil([&] { return !IsBusyWith(path); });
}

bool CPictureWriter::WaitAll(std::string* failedPath, std::string* failedContext)
{
    WaitUntil([&] { return m_pending.empty(); });
    std::lock_guard lock(m_mutex);
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
