// page_worker: the page thread, its queue of tasks, and the hand-over of a
// fatal error raised by a task to the run's own thread.
#include "app/page_worker.h"

#include <cstdio>
#include <new>
#include <system_error>

#include "app/fatal.h"
#include "platform/platform.h"

page_worker::~page_worker() {
    stop();
    if (fatal_action_handle >= 0) remove_fatal_action(fatal_action_handle);
}

void page_worker::thread_main() {
    fatal_error_throws_on_this_thread();
    platform::leave_termination_signals_to_main_thread();
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
        done++;
        if (run_waits && done >= wake_at) changed.notify_all();
    }
}

page_worker::task_number page_worker::run(std::function<void()> task) {
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
        done = ++given;
        return given;
    }
    bool wake;
    task_number number;
    {
        std::unique_lock<std::mutex> guard(lock);
        if (given - done >= CAPACITY) {
            run_waits = true;
            wake_at = given - CAPACITY / 2;
            changed.wait(guard, [this] { return done >= wake_at; });
            run_waits = false;
        }
        wake = pending.empty();   // the thread may be asleep
        pending.push_back(std::move(task));
        number = ++given;
    }
    if (wake) changed.notify_all();
    return number;
}

void page_worker::wait_for(task_number number) {
    std::unique_lock<std::mutex> guard(lock);
    if (done >= number) return;
    run_waits = true;
    wake_at = number;
    changed.wait(guard, [this, number] { return done >= number; });
    run_waits = false;
}

void page_worker::wait() {
    wait_for(given);
    std::string message;
    {
        std::lock_guard<std::mutex> guard(lock);
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
