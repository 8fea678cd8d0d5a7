#pragma once
// Background work where the newest request wins: starting work cancels the work started before
// it without waiting for it, and whatever the cancelled work still sends back is dropped. The
// window's thread never waits for work nobody wants any more. The destructor either waits, for
// work that reads its owner and looks at its cancel flag often enough to end at once, or lets
// the work run to its end unseen, for work that reads nothing of its owner but cannot stop at
// once (decoding one picture); such work is waited for only when the application goes.

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace masumemo::platform {

class NewestWins : public QObject
{
public:
    /// What a piece of work is handed: its cancel flag and the way back to the owner's thread.
    class Run
    {
    public:
        bool cancelled() const { return m_cancel->load(); }
        const std::atomic<bool>* cancelFlag() const { return m_cancel.get(); }
        /// Runs fn on the owner's thread, unless this work has been cancelled by then.
        void deliver(std::function<void()> fn) const;

    private:
        friend class NewestWins;
        struct Link;
        Run(std::shared_ptr<Link> link, std::shared_ptr<std::atomic<bool>> cancel)
            : m_link(std::move(link)), m_cancel(std::move(cancel))
        {
        }
        std::shared_ptr<Link> m_link;
        std::shared_ptr<std::atomic<bool>> m_cancel;
    };

    /// What the destructor does with work still running.
    enum class AtEnd
    {
        Wait,    ///< the work reads the owner's members: wait for it
        LetRun,  ///< the work reads only its own copies: leave it to end unseen
    };

    explicit NewestWins(QObject* parent = nullptr, AtEnd atEnd = AtEnd::Wait);
    /// Cancels the work and waits for it or lets it run, as chosen.
    ~NewestWins() override;

    /// Waits for the work that destroyed owners let run. Runs when the application goes;
    /// tests call it.
    static void waitForWorkLeftRunning();

    /// Cancels the work under way and starts work on a thread of its own.
    void start(std::function<void(const Run&)> work);
    /// Cancels the work under way; nothing it delivers from now on arrives.
    void cancel();
    /// Waits until every thread has ended and what they delivered has arrived, including work
    /// started by what arrived. For tests and benchmarks.
    void waitForIdle();
    /// True when no thread is left to wait for.
    bool idle() const { return m_threads.empty(); }

private:
    std::shared_ptr<Run::Link> m_link;
    AtEnd m_atEnd;
    std::shared_ptr<std::atomic<bool>> m_current;
    std::vector<std::unique_ptr<QThread>> m_threads;
};

}  // namespace masumemo::platform
