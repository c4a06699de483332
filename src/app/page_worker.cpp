// page_worker: the page thread, its one task slot, and the hand-over of a
// fatal error raised by a task to the run's own thread.
#include "app/page_worker.h"

#include <cstdio>
#include <new>
#include <system_error>

#include "app/fatal.h"

page_worker::~page_worker() {
    stop();
    if (fatal_action_handle >= 0) remove_fatal_action(fatal_action_handle);
}

void page_worker::thread_main() {
    fatal_error_throws_on_this_thread();
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> guard(lock);
            changed.wait(guard, [this] { return !pending.empty() || stopping; });
            if (pending.empty()) return;
            task = std::move(pending.front());
            pending.pop_front();
        }
        bool ok = true;
        std::string message;
        // After a failed task nothing more is written: the run is ending.
        if (!failed) {
            try {
                task();
            } catch (const fatal_error_exception& e) {
                ok = false;
                message = e.message;
            } catch (const std::bad_alloc&) {
                ok = false;
                message = "Out of memory";
            }
        }
        std::lock_guard<std::mutex> guard(lock);
        if (!ok) {
            failed = true;
            failure = message;
        }
        in_hand--;
        if (run_waits && in_hand <= wake_at) changed.notify_all();
    }
}

void page_worker::run(std::function<void()> task) {
    if (!thread.joinable() && !inline_only) {
        stopping = false;
        try {
            thread = std::thread(&page_worker::thread_main, this);
            if (fatal_action_handle < 0)
                fatal_action_handle = add_fatal_action([this](std::string& message) {
                    stop();
                    if (failed) message = failure;
                });
        } catch (const std::system_error&) {
            inline_only = true;   // no thread to be had: the run writes its pages itself
        }
    }
    if (inline_only) {
        task();
        return;
    }
    bool wake;
    {
        std::unique_lock<std::mutex> guard(lock);
        if (in_hand >= CAPACITY) {
            run_waits = true;
            wake_at = CAPACITY / 2;
            changed.wait(guard, [this] { return in_hand <= wake_at; });
            run_waits = false;
        }
        wake = pending.empty();   // the thread may be asleep
        pending.push_back(std::move(task));
        in_hand++;
    }
    if (wake) changed.notify_all();
}

void page_worker::wait() {
    std::string message;
    {
        std::unique_lock<std::mutex> guard(lock);
        if (in_hand > 0) {
            run_waits = true;
            wake_at = 0;
            changed.wait(guard, [this] { return in_hand == 0; });
            run_waits = false;
        }
        if (!failed) return;
        message = failure;
    }
    fatal_error("%s", message.c_str());
}

void page_worker::stop() {
    if (!thread.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}
