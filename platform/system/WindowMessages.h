#pragma once
// Windows that receive messages synchronously on their own thread.
//
// Threading contract:
//  - A MessageWindow belongs to the thread that created it; it must be destroyed there, and its
//    handler only ever runs there.
//  - sendMessage() may be called from any thread. From the owner thread it calls the handler
//    directly; from another thread it queues the message, wakes the owner and blocks until the
//    owner has handled it. If the window is destroyed (or its thread ends) first, nothing is
//    delivered and the sender returns false instead of hanging.
//  - The owner thread handles queued messages whenever it calls dispatchSentMessages(), and while
//    it waits on a PumpingCondition. A GUI installs a wake handler that schedules
//    dispatchSentMessages() in its own event loop.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace lusheng::sys {

using WindowHandle = std::uint64_t; // 0 stands for no window
using MessageHandler = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam,
                                                   std::intptr_t lParam)>;

class MessageWindow {
  public:
    explicit MessageWindow(MessageHandler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // 0 once destroyHandle() has been called.
    WindowHandle handle() const;
    // The window loses its handle: it receives nothing more, while the object lives on.
    void destroyHandle();

    // A reference that reads the window's current handle and stays safe to read after the
    // window object itself is gone (it then reads 0).
    class Ref {
      public:
        Ref() = default;
        WindowHandle handle() const;

      private:
        friend class MessageWindow;
        struct Cell;
        std::shared_ptr<const Cell> cell_;
    };
    Ref ref() const;

  private:
    std::shared_ptr<Ref::Cell> cell_;
};

// Sends `message` to the window with that handle and waits until it has been handled. Returns
// false when there is no such window (any more). `result` receives the handler's answer.
bool sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam, std::intptr_t* result = nullptr);

// Handles every message other threads have sent to windows of the calling thread.
void dispatchSentMessages();

// Called on a sending thread whenever a message starts waiting for the calling thread. It must
// not block; a GUI posts an event that calls dispatchSentMessages().
void setSentMessageWakeHandler(std::function<void()> wake);

// A condition a thread can wait on while it keeps handling messages sent to its windows, so that
// waiting for a worker never deadlocks against that worker sending a message.
class PumpingCondition {
  public:
    PumpingCondition();
    ~PumpingCondition();
    PumpingCondition(const PumpingCondition&) = delete;
    PumpingCondition& operator=(const PumpingCondition&) = delete;

    // Call after changing whatever the waiters' predicates read.
    void notifyAll();

    // Waits until `done()` holds (true) or the deadline passes (false). `done` is called without
    // any lock of this class held.
    bool waitUntil(std::chrono::steady_clock::time_point deadline,
                   const std::function<bool()>& done);
    void wait(const std::function<bool()>& done);

  private:
    struct Waiters;
    std::unique_ptr<Waiters> waiters_;
};

} // namespace lusheng::sys
