// The page thread: tasks in order, off the run's thread; what a task reads is
// filled again only once it is done; a fatal error of a task ends the run
// from the run's own thread; the tasks handed over before a
// fatal error of the run are finished first.
#include <chrono>
#include <thread>

#include "app/fatal.h"
#include "app/page_worker.h"
#include "harness.h"

namespace {

using namespace harness;

TEST(PageWorker, RunsEveryTaskInOrderOnItsOwnThread) {
    std::vector<int> done;
    std::vector<std::thread::id> threads;
    page_worker worker;
    worker.wait();   // nothing given yet
    // More tasks than the worker holds at once, in two rounds.
    for (int round = 0; round < 2; round++) {
        for (int i = 0; i < 5 * page_worker::CAPACITY; i++)
            worker.run([&done, &threads, i] {
                done.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        worker.wait();
        std::vector<int> expected(5 * page_worker::CAPACITY);
        for (size_t i = 0; i < expected.size(); i++) expected[i] = static_cast<int>(i);
        EXPECT_EQ(done, expected);
        for (std::thread::id id : threads) EXPECT_NE(id, std::this_thread::get_id());
        done.clear();
        threads.clear();
    }
}

TEST(PageWorker, ARecordIsFilledAgainOnlyOnceTheTaskReadingItIsDone) {
    // Two records and far more tasks than the thread queues, as the run
    // hands over its game records: each task must see the record it was given.
    int records[2] = {0, 0};
    page_worker::task_number reading[2] = {0, 0};
    std::vector<int> seen;
    page_worker worker;
    for (int game = 1; game <= 3 * page_worker::CAPACITY; game++) {
        const int r = game % 2;
        worker.wait_for(reading[r]);
        records[r] = game;
        reading[r] = worker.run([&records, &seen, r] {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            seen.push_back(records[r]);
        });
    }
    worker.wait();
    ASSERT_EQ(seen.size(), 3u * page_worker::CAPACITY);
    for (size_t i = 0; i < seen.size(); i++) EXPECT_EQ(seen[i], static_cast<int>(i) + 1);
}

TEST(PageWorkerDeathTest, FatalErrorsReachTheRunInTheirOrder) {
    scratch_dir dir;
    const std::string marks = dir / "marks.txt";
    auto mark = [marks](const std::string& text) {
        if (FILE* f = std::fopen(marks.c_str(), "ab")) {
            std::fputs(text.c_str(), f);
            std::fclose(f);
        }
    };
    // A task's error ends the run at the next wait; the tasks after it do not run.
    EXPECT_EXIT(
        {
            fatal_child();
            page_worker worker;
            worker.run([&] { mark("1"); });
            worker.run([] { fatal_error("Couldn't write %s", "game_2.htm"); });
            worker.run([&] { mark("3"); });
            worker.wait();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "^\nERROR: Couldn't write game_2.htm\n\nPress ENTER to exit.$");
    EXPECT_EQ(read_file(marks), "1");
    // An error of the run waits for the tasks handed over before it.
    EXPECT_EXIT(
        {
            fatal_child();
            page_worker worker;
            for (int i = 0; i < 4; i++)
                worker.run([&mark, i] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    mark(std::to_string(i));
                });
            fatal_error("analyzelog::parse - logfile read error");
        },
        testing::ExitedWithCode(1), "^\nERROR: analyzelog::parse - logfile read error\n\nPress ENTER to exit.$");
    EXPECT_EQ(read_file(marks), "10123");
    // An earlier error of the thread is the one reported.
    EXPECT_EXIT(
        {
            fatal_child();
            page_worker worker;
            worker.run([] { fatal_error("Couldn't open %s", "vexo_games/game_1.htm"); });
            fatal_error("resultdata::add_player - too many clients in game (511)");
        },
        testing::ExitedWithCode(1), "^\nERROR: Couldn't open vexo_games/game_1.htm\n\nPress ENTER to exit.$");
}

}  // namespace
