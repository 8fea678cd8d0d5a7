#include "NewestWins.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace masumemo::platform {

void NewestWins::Run::deliver(std::function<void()> fn) const
{
    QMetaObject::invokeMethod(
        m_owner,
        [cancel = m_cancel, fn = std::move(fn)] {
            if (!cancel->load()) {
                fn();
            }
        },
        Qt::QueuedConnection);
}

NewestWins::NewestWins(QObject* parent) : QObject(parent) {}

NewestWins::~NewestWins()
{
    cancel();
    for (const auto& thread : m_threads) {
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
    const Run run(this, m_current);
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
