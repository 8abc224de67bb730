// The option table against what is made from it and what is written by hand: the manual page
// describes every option under its own tag, with its letter and value; the rows themselves are
// consistent (a letter only for an option without a value, which can stand in a group).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/usage.h"

namespace {

// The lines that follow a .TP request: the tags of the page's described items.
std::vector<std::string> ManPageTags()
{
    std::ifstream in(VELLIX_MAN_PAGE);
    std::vector<std::string> tags;
    std::string line;
    bool tagNext = false;
    while (std::getline(in, line)) {
        if (tagNext)
            tags.push_back(line);
        tagNext = line == ".TP";
    }
    return tags;
}

// Whether a tag names the option: its name followed by the end, a blank or a quote, so that
// "\-\-port" is not found in "\-\-ports".
bool Tagged(const std::vector<std::string>& tags, const std::string& name)
{
    for (const std::string& tag : tags) {
        if (tag.rfind(".B", 0) != 0)
            continue;
        for (std::size_t at = tag.find(name); at != std::string::npos; at = tag.find(name, at + 1)) {
            const std::size_t end = at + name.size();
            if (end == tag.size() || tag[end] == ' ' || tag[end] == '"')
                return true;
        }
    }
    return false;
}

TEST(Options, TheManualPageDescribesEachUnderItsOwnTag)
{
    const std::vector<std::string> tags = ManPageTags();
    ASSERT_FALSE(tags.empty()) << "cannot read " << VELLIX_MAN_PAGE;
    for (const cli::Option& option : cli::Options()) {
        EXPECT_TRUE(Tagged(tags, "\\-\\-" + std::string(option.name)))
            << "no .TP item for --" << option.name << " in " << VELLIX_MAN_PAGE;
        if (option.letter != 0) {
            EXPECT_TRUE(Tagged(tags, std::string("\\-") + option.letter)) << "-" << option.letter;
        }
    }
}

TEST(Options, RowsAreConsistent)
{
    std::set<std::string_view> names;
    std::set<char> letters;
    for (const cli::Option& option : cli::Options()) {
        EXPECT_TRUE(names.insert(option.name).second) << "--" << option.name << " twice";
        if (option.letter != 0) {
            EXPECT_TRUE(letters.insert(option.letter).second) << option.letter;
            EXPECT_EQ(option.value, cli::Value::None) << "--" << option.name << ": a letter in a group takes no value";
        }
        EXPECT_EQ(option.valueName.empty(), option.value == cli::Value::None) << "--" << option.name;
        EXPECT_EQ(option.take != nullptr, option.value == cli::Value::Required) << "--" << option.name;
        EXPECT_FALSE(option.help.empty()) << "--" << option.name;
    }
}

// The usage text is made from the rows: each option's entry, its value and its words are there.
TEST(Options, TheUsageTextListsEachWithItsValue)
{
    const std::string usage = cli::UsageText("vellix");
    for (const cli::Option& option : cli::Options()) {
        std::string entry = "--" + std::string(option.name);
        if (!option.valueName.empty())
            entry += " " + std::string(option.valueName);
        EXPECT_THAT(usage, ::testing::HasSubstr(entry)) << entry;
        const std::string firstWords(option.help.substr(0, option.help.find(' ', 12)));
        EXPECT_THAT(usage, ::testing::HasSubstr(firstWords)) << entry;
    }
}

}  // namespace
