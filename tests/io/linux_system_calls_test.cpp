#include "io/linux_system_calls.h"

#include "io/call_deadline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class LinuxSystemCallsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vellix-io-" + std::to_string(::getpid()));
        fs::create_directories(m_dir / "parport0");
        fs::create_directories(m_dir / "parport1");
        std::ofstream(m_dir / "parport0" / "base-addr") << "888\t0\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    io::LinuxSystemCalls m_sys;
};

TEST_F(LinuxSystemCallsTest, ReadsAWholeTextFile)
{
    EXPECT_EQ(m_sys.ReadTextFile(m_dir / "parport0" / "base-addr"), "888\t0\n");
}

TEST_F(LinuxSystemCallsTest, WhatIsNoReadableFileReadsAsNothing)
{
    EXPECT_EQ(m_sys.ReadTextFile(m_dir / "parport1" / "base-addr"), std::nullopt);  // missing
    EXPECT_EQ(m_sys.ReadTextFile(m_dir / "parport1"), std::nullopt);                // a directory
}

TEST_F(LinuxSystemCallsTest, AFifoWhereAFileIsExpectedDoesNotHoldUpTheRead)
{
    // No writer: a blocking open would wait for one for ever.
    const fs::path fifo = m_dir / "parport1" / "irq";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(m_sys.ReadTextFile(fifo), "");
}

TEST_F(LinuxSystemCallsTest, ReadsAFileLargerThanOneChunkWhole)
{
    std::string big;
    for (int i = 0; big.size() < 20000; ++i)
        big += "line " + std::to_string(i) + "\n";
    std::ofstream(m_dir / "parport1" / "big") << big;
    EXPECT_EQ(m_sys.ReadTextFile(m_dir / "parport1" / "big"), big);
}

TEST_F(LinuxSystemCallsTest, ListsDirectoryEntriesByName)
{
    EXPECT_THAT(m_sys.ListDirectory(m_dir), testing::UnorderedElementsAre("parport0", "parport1"));
    EXPECT_THAT(m_sys.ListDirectory(m_dir / "missing"), testing::IsEmpty());
}

TEST_F(LinuxSystemCallsTest, FailuresComeBackAsNegativeErrno)
{
    EXPECT_EQ(m_sys.Open((m_dir / "missing").string()), -ENOENT);
    EXPECT_EQ(m_sys.Close(-1), -EBADF);
    EXPECT_EQ(m_sys.Ioctl(-1, 0, nullptr), -EBADF);
}

TEST_F(LinuxSystemCallsTest, OpensReadWriteAndCloses)
{
    const fs::path file = m_dir / "parport0" / "base-addr";
    const int fd = m_sys.Open(file.string());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "x", 1), 1);  // opened for writing too
    EXPECT_EQ(m_sys.Close(fd), 0);
    EXPECT_EQ(m_sys.Close(fd), -EBADF);
}

TEST_F(LinuxSystemCallsTest, OpensWithoutWaitingInTheOpen)
{
    const int fd = m_sys.Open((m_dir / "parport0" / "base-addr").string());
    ASSERT_GE(fd, 0);
    EXPECT_NE(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    m_sys.Close(fd);
}

TEST_F(LinuxSystemCallsTest, AnIoctlThatNeedsNoWaitAnswersAsWithoutDeadline)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "abc", 3), 3);
    int waiting = -1;
    EXPECT_EQ(m_sys.IoctlWithin(fds[0], FIONREAD, &waiting, std::chrono::seconds(2)), 0);
    EXPECT_EQ(waiting, 3);
    EXPECT_EQ(m_sys.IoctlWithin(-1, FIONREAD, &waiting, std::chrono::seconds(2)), -EBADF);
    ::close(fds[0]);
    ::close(fds[1]);
    // The deadline's signal is back to what it was.
    struct sigaction now {};
    ASSERT_EQ(::sigaction(io::CallDeadline::Signal(), nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(LinuxSystemCallsTest, IdentityIsTheProcessOwn)
{
    const io::Identity id = m_sys.GetIdentity();
    EXPECT_EQ(id.realUid, ::getuid());
    EXPECT_EQ(id.effectiveUid, ::geteuid());
    EXPECT_EQ(id.realGid, ::getgid());
    EXPECT_EQ(id.effectiveGid, ::getegid());
}

}  // namespace
