// page_worker: the thread that writes the pages of the games already read
// while the run reads the next games from the log. Reading and merging a game
// costs about as much as writing its pages (five bytes of page for every byte
// of log), so on two cores the two halves overlap.
//
// Tasks run one at a time, in the order given. The thread shares the
// process's working folder with the run: the pages are opened relative to
// the results folder, so the run changes no folder until wait() has
// returned.
//
// Waking a sleeping thread is a costly system call on a virtual machine, so
// the run hands over up to CAPACITY tasks before it waits, and then waits
// until half of them are done.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class page_worker {
public:
    page_worker() = default;
    ~page_worker();   // runs the tasks still queued, then ends the thread
    page_worker(const page_worker&) = delete;
    page_worker& operator=(const page_worker&) = delete;

    static constexpr int CAPACITY = 8;

    // Tasks are numbered from 1 in the order given.
    using task_number = uint64_t;

    // Queues `task` and returns its number; with CAPACITY tasks not yet
    // done, first waits until half of them are. The run learns of a task's
    // fatal error no later than at the next wait().
    task_number run(std::function<void()> task);
    // Waits until the task `number` and all before it are done (or dropped
    // after a fatal error), so that what they used may be used again.
    // Number 0 is no task.
    void wait_for(task_number number);
    // Waits until every task given is done. When one ended on a fatal
    // error, the run ends here with that error.
    void wait();

private:
    void thread_main();
    // Ends the thread once it has run every queued task (after a fatal
    // error of a task, the rest are dropped).
    void stop();
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::function<void()>> pending;   // tasks not yet started
    task_number given = 0;           // tasks given: the number of the last one
    task_number done = 0;            // tasks done (or dropped after an error)
    bool run_waits = false;          // the run sleeps until tasks are done ...
    task_number wake_at = 0;         // ... until this many are
    bool stopping = false;
    bool inline_only = false;        // no thread could be started
    bool failed = false;
    std::string failure;             // the message of the fatal error of a task
    std::thread thread;
    // While the thread runs, a fatal error of the run lets the running task
    // finish and stops the thread; when a task had ended on a fatal error,
    // that error came first and is the one reported.
    int fatal_action_handle = -1;
};
