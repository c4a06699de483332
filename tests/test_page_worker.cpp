// The page thread: tasks in order, off the run's thread; what a task reads is
// filled again only once it is done; a fatal error on it ends the run from
// the run's own thread; the tasks handed over before a fatal error of the run
// are finished first.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/fatal.h"
#include "app/page_worker.h"
#include "log_support.h"
#include "page_expect.h"

namespace {

using pagetest::read_raw;

void append(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

class PageWorker : public pagetest::ScratchFolder {
protected:
    std::string marks() { return read_raw(folder + "/marks.txt"); }
    std::string mark_file() { return folder + "/marks.txt"; }
};

TEST_F(PageWorker, RunsEveryTaskInOrderOnItsOwnThread) {
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
        ASSERT_EQ(done.size(), 5u * page_worker::CAPACITY);
        for (int i = 0; i < 5 * page_worker::CAPACITY; i++) EXPECT_EQ(done[i], i);
        for (std::thread::id id : threads) EXPECT_NE(id, std::this_thread::get_id());
        done.clear();
        threads.clear();
    }
}

TEST_F(PageWorker, ARecordIsFilledAgainOnlyOnceTheTaskReadingItIsDone) {
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

TEST_F(PageWorker, FatalErrorOfATaskEndsTheRunAtWait) {
    const std::string marks_path = mark_file();
    EXPECT_EXIT(
        {
            vexo_test::fatal_child();
            page_worker worker;
            worker.run([&] { append(marks_path, "1"); });
            worker.run([] { fatal_error("Couldn't write %s", "game_2.htm"); });
            worker.run([&] { append(marks_path, "3"); });   // never written: the run is ending
            worker.wait();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "^\nERROR: Couldn't write game_2.htm\n\nPress ENTER to exit.$");
    EXPECT_EQ(marks(), "1");
}

TEST_F(PageWorker, TasksHandedOverFinishBeforeAFatalErrorOfTheRun) {
    const std::string marks_path = mark_file();
    EXPECT_EXIT(
        {
            vexo_test::fatal_child();
            page_worker worker;
            for (int i = 0; i < 4; i++)
                worker.run([&marks_path, i] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    append(marks_path, std::to_string(i));
                });
            fatal_error("analyzelog::parse - logfile read error");
        },
        testing::ExitedWithCode(1), "^\nERROR: analyzelog::parse - logfile read error\n\nPress ENTER to exit.$");
    EXPECT_EQ(marks(), "0123");
}

TEST_F(PageWorker, AnEarlierErrorOfTheThreadIsTheOneReported) {
    EXPECT_EXIT(
        {
            vexo_test::fatal_child();
            page_worker worker;
            worker.run([] { fatal_error("Couldn't open %s", "vexo_games/game_1.htm"); });
            fatal_error("resultdata::add_player - too many clients in game (511)");
        },
        testing::ExitedWithCode(1), "^\nERROR: Couldn't open vexo_games/game_1.htm\n\nPress ENTER to exit.$");
}

}  // namespace
