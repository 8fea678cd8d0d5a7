#include "NewestWins.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <mutex>

namespace masumemo::platform {

/// The owner as the work sees it: gone (null) once the owner is destroyed. Delivering holds
/// the lock, so the owner cannot go between the look and the posting.
struct NewestWins::Run::Link
{
    std::mutex lock;
    QObject* owner = nullptr;
};

namespace {

/// Threads whose owners went while they ran.
struct LeftRunning
{
    std::mutex lock;
    std::vector<std::unique_ptr<QThread>> threads;
};

LeftRunning& leftRunning()
{
    static LeftRunning left;
    return left;
}

}  // namespace

void NewestWins::Run::deliver(std::function<void()> fn) const
{
    const std::lock_guard hold(m_link->lock);
    if (m_link->owner == nullptr || m_cancel->load()) {
        return;
    }
    QMetaObject::invokeMethod(
        m_link->owner,
        [cancel = m_cancel, fn = std::move(fn)] {
            if (!cancel->load()) {
                fn();
            }
        },
        Qt::QueuedConnection);
}

NewestWins::NewestWins(QObject* parent, AtEnd atEnd)
    : QObject(parent), m_link(std::make_shared<Run::Link>()), m_atEnd(atEnd)
{
    m_link->owner = this;
}

NewestWins::~NewestWins()
{
    cancel();
    {
        const std::lock_guard hold(m_link->lock);
        m_link->owner = nullptr;
    }
    if (m_atEnd == AtEnd::Wait) {
        for (const auto& thread : m_threads) {
            thread->wait();
        }
        return;
    }
    LeftRunning& left = leftRunning();
    const std::lock_guard hold(left.lock);
    std::erase_if(left.threads, [](const auto& thread) { return thread->isFinished(); });
    // Whatever still runs when the application goes is waited for then, before the libraries
    // it uses are taken down.
    static bool registered = false;
    if (!registered && QCoreApplication::instance() != nullptr) {
        registered = true;
        qAddPostRoutine(&NewestWins::waitForWorkLeftRunning);
    }
    for (auto& thread : m_threads) {
        if (!thread->isFinished()) {
            left.threads.push_back(std::move(thread));
        }
    }
}

void NewestWins::waitForWorkLeftRunning()
{
    std::vector<std::unique_ptr<QThread>> threads;
    {
        LeftRunning& left = leftRunning();
        const std::lock_guard hold(left.lock);
        threads.swap(left.threads);
    }
    for (const auto& thread : threads) {
        thread->wait();
    }
}

void NewestWins::cancel()
{
    if (m_current) {
        m_current->store(true);
        m_current.reset();
    }
}

void NewestWins::start(std::function<void(const Run&)> work)
{
    cancel();
    // Threads that have ended are let go here rather than waited for anywhere.
    std::erase_if(m_threads, [](const auto& thread) { return thread->isFinished(); });
    m_current = std::make_shared<std::atomic<bool>>(false);
    const Run run(m_link, m_current);
    m_threads.emplace_back(QThread::create([work = std::move(work), run] { work(run); }));
    m_threads.back()->start(QThread::LowPriority);
}

void NewestWins::waitForIdle()
{
    while (!m_threads.empty()) {
        for (const auto& thread : m_threads) {
            thread->wait();
        }
        m_threads.clear();
        QCoreApplication::sendPostedEvents(this);
    }
    QCoreApplication::sendPostedEvents(this);
}

}  // namespace masumemo::platform
