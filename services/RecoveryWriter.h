#pragma once
// Writes recovery copies on a thread of its own, so that the disk never
// holds up the window: the caller hands over the bytes it serialised, and
// the thread does nothing but write and remove files, in the order asked.
// A write still waiting is replaced by a newer one of the same copy.

#include "services/Recovery.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace fw {

class RecoveryWriter {
public:
    RecoveryWriter() = default;
    // Finishes what is queued, then joins the thread.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void Write(const std::string& copyPath, std::string bytes, RecoveryRecord record);
    void Remove(const std::string& copyPath);
    // Returns once everything queued so far is done.
    void Flush();
    // The last write that failed, with the system's reason; empty when none has.
    std::string LastError() const;

private:
    struct Job {
        std::string copyPath;
        bool remove = false;
        std::string bytes;
        RecoveryRecord record;
    };
    void Queue(Job job);
    void Run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::string m_lastError;
    std::thread m_thread;
};

}  // namespace fw
