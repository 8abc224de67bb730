// Standard error held in a pipe: what is written meanwhile comes back, standard error is put back
// where it was, and a writer is never held up by a full pipe.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

#include "ui/qt/stderr_capture.h"

namespace {

namespace fs = std::filesystem;

void Say(const std::string& text)
{
    ASSERT_EQ(write(STDERR_FILENO, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

// Standard error pointed at a file for one test; the file's text is read back at the end.
class StderrToFile : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = fs::temp_directory_path() / ("vellix-stderr-" + std::to_string(getpid()));
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        std::FILE* file = std::fopen(m_path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        dup2(fileno(file), STDERR_FILENO);
        std::fclose(file);
    }
    void TearDown() override
    {
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        fs::remove(m_path);
    }
    std::string FileText() const
    {
        std::ostringstream text;
        text << std::ifstream(m_path).rdbuf();
        return text.str();
    }

private:
    fs::path m_path;
    int m_saved = -1;
};

TEST_F(StderrToFile, WhatIsWrittenMeanwhileComesBackAndStderrIsPutBack)
{
    Say("before ");
    {
        ui::qt::StderrCapture capture;
        ASSERT_GE(capture.ReadEnd(), 0);
        Say("held words");
        EXPECT_EQ(capture.Finish(), "held words");
        EXPECT_EQ(capture.Finish(), "") << "asked again";
        Say("after ");
    }
    {
        // Not finished by its owner: the words go out when it goes.
        ui::qt::StderrCapture capture;
        Say("passed on");
    }
    EXPECT_EQ(FileText(), "before after passed on");
}

TEST_F(StderrToFile, AFullPipeDropsWordsRatherThanHoldingTheWriter)
{
    ui::qt::StderrCapture capture;
    std::string block(4096, 'x');
    std::size_t accepted = 0;
    // Far more than a pipe holds: a blocking pipe would stop this loop for ever.
    for (int i = 0; i < 64; ++i) {
        ssize_t n = write(STDERR_FILENO, block.data(), block.size());
        if (n > 0)
            accepted += static_cast<std::size_t>(n);
    }
    std::string held = capture.Finish();
    EXPECT_LT(accepted, 64 * block.size());
    EXPECT_EQ(held.size(), accepted);
    Say("afterwards");
    EXPECT_EQ(FileText(), "afterwards");
}

}  // namespace
