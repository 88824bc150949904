#include "ChecklistPipe.h"

#include "ChecklistRecords.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

namespace bryx::host {

namespace {

// Rows a batch holds, and batches that may wait: enough to keep both threads busy.
constexpr std::size_t BatchRows = 1024;
constexpr std::size_t WaitingBatches = 8;

struct BadRow {
    RowOrigin origin;
    QString reason;
};
struct Warning {
    RowOrigin origin;
    QString kind;
    QString detail;
};
struct Progress {
    qint64 done;
    qint64 total;
};
using Item = std::variant<ChecklistName, ChecklistReference, ChecklistLink, BadRow, Warning, Progress>;
using Batch = std::vector<Item>;

// Unwinds the reader when the receiving side has stopped.
struct Stopped { };

// The batches between the two threads.
class BatchQueue {
public:
    // Waits while the queue is full; throws Stopped once the receiver has given up.
    void push(Batch batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_batches.size() < WaitingBatches; });
        if (m_stopped)
            throw Stopped();
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
    }
    // The reader has finished, with its error if it failed.
    void finish(std::exception_ptr error)
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        m_error = std::move(error);
        m_changed.notify_all();
    }
    // The next batch; empty once the reader has finished and everything is taken, when the
    // reader's error is rethrown.
    Batch pop()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished || !m_batches.empty(); });
        if (m_batches.empty()) {
            if (m_error)
                std::rethrow_exception(m_error);
            return {};
        }
        Batch batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return batch;
    }
    // A batch the receiver is done with goes back to the reader, to be emptied and filled again
    // there: its text was allocated on the reader's thread, and is freed fastest there.
    void giveBack(Batch batch)
    {
        const std::lock_guard lock(m_mutex);
        m_used.push_back(std::move(batch));
    }
    Batch takeUsed()
    {
        const std::lock_guard lock(m_mutex);
        if (m_used.empty())
            return {};
        Batch batch = std::move(m_used.back());
        m_used.pop_back();
        return batch;
    }
    void stop()
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_batches.clear();
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_batches;
    std::vector<Batch> m_used;
    bool m_finished = false;
    bool m_stopped = false;
    std::exception_ptr m_error;
};

// The sink the reader writes to, on its own thread.
class BatchingSink final : public ChecklistSink {
public:
    explicit BatchingSink(BatchQueue& queue)
        : m_queue(queue)
    {
        m_batch.reserve(BatchRows);
    }
    void name(const ChecklistName& name) override
    {
        ChecklistName prepared = name;
        prepared.prepare();
        add(std::move(prepared));
    }
    void reference(const ChecklistReference& reference) override { add(reference); }
    void link(const ChecklistLink& link) override { add(link); }
    void badRow(const RowOrigin& origin, const QString& reason) override { add(BadRow {origin, reason}); }
    void warning(const RowOrigin& origin, const QString& kind, const QString& detail) override
    {
        add(Warning {origin, kind, detail});
    }
    void progress(qint64 done, qint64 total) override { add(Progress {done, total}); }
    void flush()
    {
        if (m_batch.empty())
            return;
        m_queue.push(std::move(m_batch));
        m_batch = m_queue.takeUsed();
        m_batch.clear();
        m_batch.reserve(BatchRows);
    }

private:
    void add(Item item)
    {
        m_batch.push_back(std::move(item));
        if (m_batch.size() == BatchRows)
            flush();
    }

    BatchQueue& m_queue;
    Batch m_batch;
};

void deliver(Item& item, ChecklistSink& sink)
{
    std::visit(
        [&](auto& row) {
            using Row = std::decay_t<decltype(row)>;
            if constexpr (std::is_same_v<Row, ChecklistName>)
                sink.name(row);
            else if constexpr (std::is_same_v<Row, ChecklistReference>)
                sink.reference(row);
            else if constexpr (std::is_same_v<Row, ChecklistLink>)
                sink.link(row);
            else if constexpr (std::is_same_v<Row, BadRow>)
                sink.badRow(row.origin, row.reason);
            else if constexpr (std::is_same_v<Row, Warning>)
                sink.warning(row.origin, row.kind, row.detail);
            else
                sink.progress(row.done, row.total);
        },
        item);
}

} // namespace

void ChecklistPipe::run(const Reader& reader, ChecklistSink& sink)
{
    BatchQueue queue;
    std::thread readerThread([&] {
        BatchingSink batching(queue);
        std::exception_ptr error;
        try {
            reader(batching);
        } catch (const Stopped&) {
            return queue.finish({});
        } catch (...) {
            error = std::current_exception();
        }
        // The rows read before an error go first: one of them may be what the sink refuses,
        // and its refusal comes first in the package.
        try {
            batching.flush();
        } catch (const Stopped&) {
        }
        queue.finish(error);
    });
    try {
        for (Batch batch = queue.pop(); !batch.empty(); batch = queue.pop()) {
            for (Item& item : batch)
                deliver(item, sink);
            queue.giveBack(std::move(batch));
        }
    } catch (...) {
        queue.stop();
        readerThread.join();
        throw;
    }
    readerThread.join();
}

} // namespace bryx::host
