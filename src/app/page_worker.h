// page_worker: the thread that writes the pages of one game while the run
// reads the next game from the log. Reading and merging a game costs about as
// much as writing its pages (five bytes of page for every byte of log), so on
// two cores the two halves overlap.
//
// Tasks run one at a time, in the order given. The thread shares the
// process's working folder with the run: while a task runs, the run itself
// opens nothing by a relative path.
//
// Waking a sleeping thread is a costly system call on a virtual machine, so
// the run hands over up to CAPACITY tasks before it waits, and then waits
// until half of them are done.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class page_worker {
public:
    page_worker() = default;
    ~page_worker();
    page_worker(const page_worker&) = delete;
    page_worker& operator=(const page_worker&) = delete;

    static constexpr int CAPACITY = 8;

    // Queues `task`; with CAPACITY tasks not yet done, first waits until
    // half of them are. The run learns of a task's fatal error no later than
    // at the next wait().
    void run(std::function<void()> task);
    // Waits until every task given is done. When one ended on a fatal
    // error, the run ends here with that error.
    void wait();

private:
    void thread_main();
    void stop();
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::function<void()>> pending;   // tasks not yet started
    int in_hand = 0;                 // tasks given and not yet done
    bool run_waits = false;          // the run sleeps until tasks are done ...
    int wake_at = 0;                 // ... until no more than this many are left
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
