#include "services/RecoveryWriter.h"

#include <algorithm>
#include <utility>

namespace fw {

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void RecoveryWriter::Write(const std::string& copyPath, std::string bytes, RecoveryRecord record)
{
    Queue({copyPath, false, std::move(bytes), std::move(record)});
}

void RecoveryWriter::Remove(const std::string& copyPath)
{
    Queue({copyPath, true, std::string(), RecoveryRecord()});
}

void RecoveryWriter::Queue(Job job)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Only the newest content of a copy matters; a removal makes every
        // waiting write of it moot. A removal waiting before a new write stays.
        m_jobs.erase(
            std::remove_if(m_jobs.begin(), m_jobs.end(),
                           [&](const Job& waiting) { return waiting.copyPath == job.copyPath && !waiting.remove; }),
            m_jobs.end());
        m_jobs.push_back(std::move(job));
        if (!m_thread.joinable())
            m_thread = std::thread(&RecoveryWriter::Run, this);
    }
    m_wake.notify_one();
}

void RecoveryWriter::Flush()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

std::string RecoveryWriter::LastError() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

void RecoveryWriter::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        std::string error;
        if (job.remove)
            RemoveRecoveryCopy(job.copyPath);
        else
            error = WriteRecoveryCopy(job.copyPath, job.bytes, job.record);
        lock.lock();
        m_busy = false;
        if (!error.empty())
            m_lastError = error;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

}  // namespace fw
