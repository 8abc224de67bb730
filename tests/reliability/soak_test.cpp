// A very long run: a million timer ticks with random user actions in between. Every rule of
// the rows holds after every action, and the second half of the run allocates nothing it keeps.
#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "reliability/panel_watch.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELLIX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLIX_ASAN 1
#endif
#endif
#ifdef VELLIX_ASAN
// From the sanitizer's allocator interface; declared here since not every compiler ships the header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// The sanitizer build may run fewer ticks (see CMakeLists.txt); the plain build runs a million.
#ifndef VELLIX_SOAK_TICKS
#define VELLIX_SOAK_TICKS 1000000
#endif

using namespace reliability;

namespace {

// Heap bytes in use now. The sanitizer keeps freed blocks in quarantine for a while, so ask its
// allocator for the live ones; glibc counts them directly.
long LiveHeapBytes()
{
#ifdef VELLIX_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long>(mallinfo2().uordblks);
#endif
}

long ResidentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// A user who mostly watches: three steps in four are a tick, the rest one action of any kind.
class RandomUser {
public:
    explicit RandomUser(std::uint32_t seed) : m_rng(seed) {}

    Action Next()
    {
        if (Below(4) != 0)
            return {Op::Tick, 0, {}};
        switch (Below(12)) {
        case 0: return {Op::EditText, 0, RandomText()};
        case 1: return {Op::Char, HexishByte(), {}};
        case 2: return {Op::EditKey, Below(6), {}};
        case 3: return {Op::Tab, Below(2), {}};
        case 4: return {Op::DataBit, Below(8), {}};
        case 5: return {Op::ContinuousData, 0, {}};
        case 6: return {Op::SetData, 0, {}};
        case 7: return {Op::CtrlBit, Below(5), {}};
        case 8: return {Op::ContinuousCtrl, 0, {}};
        case 9: return {Op::SetCtrl, 0, {}};
        case 10: return {Op::PickBase, Below(2), {}};
        default: return {Op::Box, Below(20) == 0 ? 1 : 0, {}};
        }
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    // Mostly hex digits of either case, so that complete entries are frequent.
    int HexishByte()
    {
        static const char kDigits[] = "0123456789abcdefABCDEF";
        return Below(4) != 0 ? kDigits[Below(22)] : Below(256);
    }

    std::string RandomText()
    {
        std::string s;
        for (int n = Below(4); n > 0; --n)
            s.push_back(static_cast<char>(HexishByte()));
        return s;
    }

    std::mt19937 m_rng;
};

TEST(Soak, AMillionTicksWithRandomActionsKeepEveryRuleAndDoNotGrowMemory)
{
    constexpr long kTicks = VELLIX_SOAK_TICKS;
    constexpr std::uint32_t kSeed = 20240917;
    testsupport::PanelSession s({0x278, 0x378});
    PanelWatch watch(s);
    RandomUser user(kSeed);

    std::string failure;
    long actions = 0;
    long heapAtHalf = -1, heapAtEnd = -1, rssAtHalf = -1, rssAtEnd = -1;
    std::function<void()> step = [&] {
        failure = watch.Check();
        if (!failure.empty() || watch.Ticks() >= kTicks) {
            heapAtEnd = LiveHeapBytes();
            rssAtEnd = ResidentBytes();
            afx::input::Key(s.Top(), VK_ESCAPE);
            return;
        }
        if (heapAtHalf < 0 && watch.Ticks() >= kTicks / 2) {
            heapAtHalf = LiveHeapBytes();
            rssAtHalf = ResidentBytes();
        }
        Action a = user.Next();
        ++actions;
        watch.Begin(a);
        Apply(s, a);
        s.ui.Then(step);
    };
    s.ui.Then(step);
    s.Run();

    ASSERT_TRUE(failure.empty()) << "after " << actions << " actions and " << watch.Ticks() << " ticks: " << failure;
    EXPECT_EQ(s.result, IDCANCEL);
    EXPECT_EQ(watch.Ticks(), kTicks);
    ASSERT_GE(heapAtHalf, 0);
    // Any per-tick or per-action allocation that is kept would show here many times over.
    EXPECT_LT(heapAtEnd - heapAtHalf, 64 * 1024) << "live heap at half " << heapAtHalf << ", at the end " << heapAtEnd;
#ifndef VELLIX_ASAN
    // Loosely: the sanitizer's shadow memory and quarantine make resident size meaningless there.
    EXPECT_LT(rssAtEnd - rssAtHalf, 4L * 1024 * 1024)
        << "resident at half " << rssAtHalf << ", at the end " << rssAtEnd;
#endif
}

}  // namespace
