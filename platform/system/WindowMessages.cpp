#include "platform/system/WindowMessages.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lusheng::sys {

struct MessageWindow::Ref::Cell {
    std::atomic<WindowHandle> handle{0};
};

namespace {

struct PendingMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::intptr_t result = 0;
    bool delivered = false;
    bool done = false;
};

// The messages waiting for one thread, and the means to wake it.
class ThreadQueue {
  public:
    std::thread::id owner = std::this_thread::get_id();

    // Returns false when the thread has ended.
    bool post(const std::shared_ptr<PendingMessage>& pending) {
        std::function<void()> wake;
        {
            std::lock_guard lock(mutex_);
            if (!alive_) {
                return false;
            }
            pending_.push_back(pending);
            ++sequence_;
            wake = wake_;
        }
        changed_.notify_all();
        if (wake) {
            wake();
        }
        return true;
    }

    void awaitDone(const std::shared_ptr<PendingMessage>& pending) {
        std::unique_lock lock(mutex_);
        doneChanged_.wait(lock, [&] { return pending->done; });
    }

    std::deque<std::shared_ptr<PendingMessage>> takePending() {
        std::lock_guard lock(mutex_);
        return std::exchange(pending_, {});
    }

    void complete(const std::shared_ptr<PendingMessage>& pending) {
        {
            std::lock_guard lock(mutex_);
            pending->done = true;
        }
        doneChanged_.notify_all();
    }

    void poke() {
        {
            std::lock_guard lock(mutex_);
            ++sequence_;
        }
        changed_.notify_all();
    }

    std::uint64_t sequence() {
        std::lock_guard lock(mutex_);
        return sequence_;
    }

    void waitForChange(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        const auto changed = [&] { return sequence_ != seen; };
        // A wait "until the end of time" must not go through a clock conversion that overflows.
        if (deadline == std::chrono::steady_clock::time_point::max()) {
            changed_.wait(lock, changed);
        } else {
            changed_.wait_until(lock, deadline, changed);
        }
    }

    void setWake(std::function<void()> wake) {
        std::lock_guard lock(mutex_);
        wake_ = std::move(wake);
    }

    // The owning thread is ending: whoever still waits is released with nothing delivered.
    void close() {
        std::lock_guard lock(mutex_);
        alive_ = false;
        for (auto& pending : pending_) {
            pending->done = true;
        }
        pending_.clear();
        doneChanged_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable doneChanged_;
    std::deque<std::shared_ptr<PendingMessage>> pending_;
    std::uint64_t sequence_ = 0;
    bool alive_ = true;
    std::function<void()> wake_;
};

struct ThreadQueueHolder {
    std::shared_ptr<ThreadQueue> queue = std::make_shared<ThreadQueue>();
    ~ThreadQueueHolder() { queue->close(); }
};

const std::shared_ptr<ThreadQueue>& currentQueue() {
    thread_local ThreadQueueHolder holder;
    return holder.queue;
}

struct WindowEntry {
    std::weak_ptr<ThreadQueue> queue;
    std::shared_ptr<const MessageHandler> handler;
};

class WindowRegistry {
  public:
    static WindowRegistry& instance() {
        static WindowRegistry registry;
        return registry;
    }

    WindowHandle add(std::shared_ptr<const MessageHandler> handler) {
        std::lock_guard lock(mutex_);
        const WindowHandle handle = next_++;
        windows_.emplace(handle, WindowEntry{currentQueue(), std::move(handler)});
        return handle;
    }

    void remove(WindowHandle handle) {
        std::lock_guard lock(mutex_);
        windows_.erase(handle);
    }

    std::optional<WindowEntry> find(WindowHandle handle) {
        std::lock_guard lock(mutex_);
        const auto it = windows_.find(handle);
        if (it == windows_.end()) {
            return std::nullopt;
        }
        return it->second;
    }

  private:
    std::mutex mutex_;
    std::unordered_map<WindowHandle, WindowEntry> windows_;
    WindowHandle next_ = 1; // handles are never reused
};

} // namespace

MessageWindow::MessageWindow(MessageHandler handler) : cell_(std::make_shared<Ref::Cell>()) {
    cell_->handle =
        WindowRegistry::instance().add(std::make_shared<const MessageHandler>(std::move(handler)));
}

MessageWindow::~MessageWindow() {
    destroyHandle();
}

WindowHandle MessageWindow::handle() const {
    return cell_->handle.load();
}

void MessageWindow::destroyHandle() {
    const WindowHandle handle = cell_->handle.exchange(0);
    if (handle != 0) {
        WindowRegistry::instance().remove(handle);
    }
}

MessageWindow::Ref MessageWindow::ref() const {
    Ref ref;
    ref.cell_ = cell_;
    return ref;
}

WindowHandle MessageWindow::Ref::handle() const {
    return cell_ ? cell_->handle.load() : 0;
}

bool sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam, std::intptr_t* result) {
    const auto entry = WindowRegistry::instance().find(window);
    if (!entry) {
        return false;
    }
    const auto queue = entry->queue.lock();
    if (!queue) {
        return false;
    }
    if (queue->owner == std::this_thread::get_id()) {
        const std::intptr_t answer = (*entry->handler)(message, wParam, lParam);
        if (result != nullptr) {
            *result = answer;
        }
        return true;
    }
    auto pending = std::make_shared<PendingMessage>();
    pending->window = window;
    pending->message = message;
    pending->wParam = wParam;
    pending->lParam = lParam;
    if (!queue->post(pending)) {
        return false;
    }
    queue->awaitDone(pending);
    if (result != nullptr) {
        *result = pending->result;
    }
    return pending->delivered;
}

void dispatchSentMessages() {
    const auto& queue = currentQueue();
    for (const auto& pending : queue->takePending()) {
        // The window may have been destroyed since the message was queued.
        if (const auto entry = WindowRegistry::instance().find(pending->window)) {
            pending->result = (*entry->handler)(pending->message, pending->wParam, pending->lParam);
            pending->delivered = true;
        }
        queue->complete(pending);
    }
}

void setSentMessageWakeHandler(std::function<void()> wake) {
    currentQueue()->setWake(std::move(wake));
}

struct PumpingCondition::Waiters {
    std::mutex mutex;
    std::vector<std::shared_ptr<ThreadQueue>> queues;
};

PumpingCondition::PumpingCondition() : waiters_(std::make_unique<Waiters>()) {}
PumpingCondition::~PumpingCondition() = default;

void PumpingCondition::notifyAll() {
    std::vector<std::shared_ptr<ThreadQueue>> queues;
    {
        std::lock_guard lock(waiters_->mutex);
        queues = waiters_->queues;
    }
    for (const auto& queue : queues) {
        queue->poke();
    }
}

bool PumpingCondition::waitUntil(std::chrono::steady_clock::time_point deadline,
                                 const std::function<bool()>& done) {
    const auto& queue = currentQueue();
    {
        std::lock_guard lock(waiters_->mutex);
        waiters_->queues.push_back(queue);
    }
    bool satisfied = false;
    for (;;) {
        // Read the sequence before handling messages and testing: a message posted or a change
        // made after this point moves the sequence on, so the wait below cannot miss it.
        const std::uint64_t seen = queue->sequence();
        dispatchSentMessages();
        if (done()) {
            satisfied = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        queue->waitForChange(seen, deadline);
    }
    {
        std::lock_guard lock(waiters_->mutex);
        auto& queues = waiters_->queues;
        queues.erase(std::find(queues.begin(), queues.end(), queue));
    }
    return satisfied;
}

void PumpingCondition::wait(const std::function<bool()>& done) {
    waitUntil(std::chrono::steady_clock::time_point::max(), done);
}

} // namespace lusheng::sys
