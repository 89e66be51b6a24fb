// Mutexes: names shared by all handles, recursion for the owner, timeouts, and ownership across processes,
// including an owner that dies.
#include "winsim_test.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr WCHAR kName[] = u"PaperInfo";

class MutexTest : public WinsimTest {
  protected:
    // Runs `body` in a forked child that reports progress through a pipe: the child writes one byte when it
    // owns the mutex. Returns the child's pid; the parent reads from `from_child`.
    template <class Body> pid_t fork_child(Body body) {
        EXPECT_EQ(pipe(pipe_), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(pipe_[0]);
            _exit(body(pipe_[1]));
        }
        close(pipe_[1]);
        return child;
    }

    bool child_owns() {
        char byte = 0;
        return read(pipe_[0], &byte, 1) == 1 && byte == 'o';
    }

    static int exit_code(pid_t child) {
        int status = -1;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void TearDown() override {
        close(pipe_[0]);
        WinsimTest::TearDown();
    }

    int pipe_[2] = {-1, -1};
};

TEST_F(MutexTest, OneNameOneMutex) {
    HANDLE first = CreateMutexW(nullptr, FALSE, kName);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateMutexW(nullptr, TRUE, kName);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE third = CreateMutexW(nullptr, FALSE, kName);
    ASSERT_NE(third, nullptr);

    // The second create asked for ownership of an existing mutex and did not get it.
    EXPECT_FALSE(ReleaseMutex(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    // Owning through one handle is owning through all of them.
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(third));

    for (HANDLE h : {first, second, third})
        EXPECT_TRUE(CloseHandle(h));
    HANDLE fresh = CreateMutexW(nullptr, FALSE, kName);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "the last handle took the mutex with it";
    EXPECT_TRUE(CloseHandle(fresh));
}

TEST_F(MutexTest, OwnerWaitsAgainAndReleasesAsOften) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kName);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    CloseHandle(mutex);
}

TEST_F(MutexTest, OtherThreadsWaitForTheOwner) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kName);
    ASSERT_NE(mutex, nullptr);
    std::promise<DWORD> while_owned;
    std::future<DWORD> first_wait = while_owned.get_future();
    DWORD after_release = 0;
    std::thread other([&] {
        while_owned.set_value(WaitForSingleObject(mutex, 50));
        after_release = WaitForSingleObject(mutex, 5000);
        ReleaseMutex(mutex);
    });
    EXPECT_EQ(first_wait.get(), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(mutex));
    other.join();
    EXPECT_EQ(after_release, WAIT_OBJECT_0);
    CloseHandle(mutex);
}

TEST_F(MutexTest, OwnerInAnotherProcessBlocksUntilItReleases) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kName);
    ASSERT_NE(mutex, nullptr);
    const pid_t child = fork_child([](int report) {
        HANDLE m = CreateMutexW(nullptr, FALSE, kName);
        if (!m || GetLastError() != ERROR_ALREADY_EXISTS)
            return 2;
        if (WaitForSingleObject(m, 5000) != WAIT_OBJECT_0)
            return 3;
        if (write(report, "o", 1) != 1)
            return 4;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return ReleaseMutex(m) ? 0 : 5;
    });
    ASSERT_TRUE(child_owns());
    EXPECT_EQ(WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(mutex, 5000), WAIT_OBJECT_0);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_GE(waited.count(), 100) << "the wait returned before the child released";
    EXPECT_LT(waited.count(), 2000);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(exit_code(child), 0);
    CloseHandle(mutex);
}

TEST_F(MutexTest, OwnerThatDiesAbandonsTheMutex) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kName);
    ASSERT_NE(mutex, nullptr);
    const pid_t child = fork_child([](int report) {
        HANDLE m = CreateMutexW(nullptr, FALSE, kName);
        if (!m || WaitForSingleObject(m, 5000) != WAIT_OBJECT_0)
            return 3;
        return write(report, "o", 1) == 1 ? 0 : 4; // exits owning it
    });
    ASSERT_TRUE(child_owns());
    EXPECT_EQ(exit_code(child), 0);
    EXPECT_EQ(WaitForSingleObject(mutex, 2000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(mutex)) << "an abandoned mutex is owned by the thread that was told so";
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0) << "released properly, it is no longer abandoned";
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

} // namespace
