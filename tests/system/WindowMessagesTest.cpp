#include "platform/system/WindowMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace lusheng::sys;
using namespace std::chrono_literals;

namespace {

struct Received {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::thread::id thread;
    int count = 0;
};

MessageHandler recorder(Received& received) {
    return [&received](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
        received.message = message;
        received.wParam = wParam;
        received.thread = std::this_thread::get_id();
        ++received.count;
        return std::intptr_t{42};
    };
}

TEST(WindowMessages, SendFromOwnThreadCallsHandlerDirectly) {
    Received received;
    MessageWindow window(recorder(received));
    std::intptr_t result = 0;
    ASSERT_TRUE(sendMessage(window.handle(), 0x8075, 1, 0, &result));
    EXPECT_EQ(received.count, 1);
    EXPECT_EQ(received.wParam, 1U);
    EXPECT_EQ(result, 42);
}

// A worker sends while the owner waits for the worker: the wait must handle the message on the
// owner's thread, or the two would wait for each other for ever.
TEST(WindowMessages, OwnerWaitingOnPumpingConditionHandlesSentMessages) {
    Received received;
    MessageWindow window(recorder(received));
    PumpingCondition condition;
    std::atomic<bool> workerDone{false};
    std::atomic<bool> delivered{false};
    const WindowHandle handle = window.handle();
    std::thread worker([&] {
        delivered = sendMessage(handle, 0x8075, 2, 0);
        workerDone = true;
        condition.notifyAll();
    });
    const bool finished = condition.waitUntil(std::chrono::steady_clock::now() + 10s,
                                              [&] { return workerDone.load(); });
    worker.join();
    EXPECT_TRUE(finished);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(received.count, 1);
    EXPECT_EQ(received.message, 0x8075U);
    EXPECT_EQ(received.wParam, 2U);
    EXPECT_EQ(received.thread, std::this_thread::get_id());
}

// Regression: a message posted between handling the queue and going to sleep was left waiting
// for ever. Many back-to-back sends make that window likely to be hit.
TEST(WindowMessages, EveryMessageSentDuringAWaitArrives) {
    Received received;
    MessageWindow window(recorder(received));
    PumpingCondition condition;
    constexpr int kMessages = 2000;
    std::thread worker([&, h = window.handle()] {
        for (int i = 0; i < kMessages; ++i) {
            sendMessage(h, 1, static_cast<std::uintptr_t>(i), 0);
        }
    });
    const bool all = condition.waitUntil(std::chrono::steady_clock::now() + 30s,
                                         [&] { return received.count == kMessages; });
    worker.join();
    EXPECT_TRUE(all);
    EXPECT_EQ(received.count, kMessages);
}

TEST(WindowMessages, WakeHandlerRunsAndDispatchDelivers) {
    Received received;
    MessageWindow window(recorder(received));
    std::promise<void> woken;
    setSentMessageWakeHandler([&] { woken.set_value(); });
    auto sent =
        std::async(std::launch::async, [h = window.handle()] { return sendMessage(h, 7, 3, 0); });
    ASSERT_EQ(woken.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_EQ(sent.wait_for(50ms), std::future_status::timeout) << "returned before being handled";
    dispatchSentMessages();
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(received.count, 1);
    setSentMessageWakeHandler(nullptr);
}

TEST(WindowMessages, WindowDestroyedWhileMessageWaitsDeliversNothing) {
    Received received;
    auto window = std::make_unique<MessageWindow>(recorder(received));
    std::promise<void> woken;
    setSentMessageWakeHandler([&] { woken.set_value(); });
    auto sent =
        std::async(std::launch::async, [h = window->handle()] { return sendMessage(h, 7, 3, 0); });
    ASSERT_EQ(woken.get_future().wait_for(10s), std::future_status::ready);
    window.reset();
    dispatchSentMessages();
    EXPECT_FALSE(sent.get());
    EXPECT_EQ(received.count, 0);
    setSentMessageWakeHandler(nullptr);
}

TEST(WindowMessages, GoneWindowsAndEndedThreadsReceiveNothing) {
    Received received;
    WindowHandle handle = 0;
    MessageWindow::Ref ref;
    {
        MessageWindow window(recorder(received));
        handle = window.handle();
        ref = window.ref();
        EXPECT_EQ(ref.handle(), handle);
        window.destroyHandle();
        EXPECT_EQ(window.handle(), 0U);
        EXPECT_FALSE(sendMessage(handle, 1, 0, 0));
    }
    EXPECT_EQ(ref.handle(), 0U);
    EXPECT_FALSE(sendMessage(0, 1, 0, 0));

    // A window whose thread has ended: the sender must not hang.
    WindowHandle orphan = 0;
    std::unique_ptr<MessageWindow> leaked;
    std::thread([&] {
        leaked = std::make_unique<MessageWindow>(recorder(received));
        orphan = leaked->handle();
    }).join();
    EXPECT_FALSE(sendMessage(orphan, 1, 0, 0));
    EXPECT_EQ(received.count, 0);
    leaked.reset();
}

TEST(PumpingCondition, TimesOutWhenNothingHappens) {
    PumpingCondition condition;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(condition.waitUntil(start + 30ms, [] { return false; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

} // namespace
