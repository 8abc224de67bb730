// The font configuration is loaded once the preload is begun and by the time it ends, so that Qt
// finds it loaded; a preload never begun loads nothing. Each case runs in a fresh process (fontconfig loads once per
// process); which configuration file was read tells when the load happened.
#include <cstdlib>
#include <dlfcn.h>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "support/temp_dir.h"
#include "ui/qt/font_preload.h"

namespace {

namespace fs = std::filesystem;

// fontconfig's own calls, looked up as the preload looks up FcInit: Qt's GUI library brings the
// library into this process, and no header of it is needed to build.
struct FontConfig {
    void* (*getFontDirs)(void*) = nullptr;  // FcConfigGetFontDirs(FcConfig*) -> FcStrList*
    const char* (*next)(void*) = nullptr;   // FcStrListNext
    void (*done)(void*) = nullptr;          // FcStrListDone

    FontConfig()
    {
        getFontDirs = reinterpret_cast<decltype(getFontDirs)>(dlsym(RTLD_DEFAULT, "FcConfigGetFontDirs"));
        next = reinterpret_cast<decltype(next)>(dlsym(RTLD_DEFAULT, "FcStrListNext"));
        done = reinterpret_cast<decltype(done)>(dlsym(RTLD_DEFAULT, "FcStrListDone"));
    }
    bool Present() const { return getFontDirs && next && done; }

    // Whether the current configuration (loaded now if it is not yet) lists `dir`.
    bool Lists(const fs::path& dir) const
    {
        bool found = false;
        void* list = getFontDirs(nullptr);
        for (const char* entry = list ? next(list) : nullptr; entry; entry = next(list))
            found = found || dir == fs::path(entry);
        if (list)
            done(list);
        return found;
    }
};

enum class Preload { None, BegunAtOnce, BegunLater, NeverBegun };

// The configuration file first named, "first", lists a font folder of its own; the one named once
// the preload is made, "second", lists another; after the preload is gone FONTCONFIG_FILE names a
// file that is not there. Exits with the configuration in use by then: 1 for the first, 2 for
// the second, 0 for neither (loaded only then, from nothing), 3 when fontconfig is not in the
// process or the preload made no thread.
[[noreturn]] void LoadThenHideTheConfiguration(Preload preload)
{
    const fs::path root = fs::temp_directory_path() / ("vellix-fonts-" + std::to_string(getpid()));
    auto configuration = [&](const std::string& name) {
        const fs::path fonts = root / name;
        fs::create_directories(fonts);
        testsupport::WriteFile(root / (name + ".conf"), "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" + fonts.string() +
                                                            "</dir>\n  <cachedir>" + (root / "cache").string() +
                                                            "</cachedir>\n</fontconfig>\n");
        return std::make_pair(root / (name + ".conf"), fonts);
    };
    const auto [firstFile, firstFonts] = configuration("first");
    const auto [secondFile, secondFonts] = configuration("second");
    setenv("FONTCONFIG_FILE", firstFile.c_str(), 1);
    const FontConfig fc;
    int status = 3;
    if (fc.Present()) {
        std::optional<ui::qt::FontConfigPreload> load;
        if (preload != Preload::None)
            load.emplace();
        if (preload == Preload::BegunAtOnce)
            load->Begin();
        // Time enough for a preload that did not wait to be begun to have read the first file.
        if (preload != Preload::BegunAtOnce)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (preload != Preload::BegunAtOnce)
            setenv("FONTCONFIG_FILE", secondFile.c_str(), 1);
        if (preload == Preload::BegunLater)
            load->Begin();
        const bool started = !load || load->Started();
        load.reset();
        setenv("FONTCONFIG_FILE", (root / "not-there.conf").c_str(), 1);
        status = !started ? 3 : fc.Lists(firstFonts) ? 1 : fc.Lists(secondFonts) ? 2 : 0;
    }
    fs::remove_all(root);
    std::_Exit(status);
}

TEST(FontConfigPreloadTest, TheConfigurationIsLoadedOnceBegunAndByTheTimeThePreloadEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a process that has not loaded fonts yet
    struct Case {
        Preload preload;
        int configurationInUse;
        const char* why;
    } cases[] = {
        {Preload::BegunAtOnce, 1, "loaded when begun"},
        {Preload::BegunLater, 2, "loaded only once begun, from the file named by then"},
        {Preload::NeverBegun, 0, "never begun: not loaded, and its going does not wait"},
        // The check can tell them apart: without a preload the configuration loads only at the
        // end, from nothing.
        {Preload::None, 0, "no preload"},
    };
    for (const Case& c : cases)
        EXPECT_EXIT(LoadThenHideTheConfiguration(c.preload), testing::ExitedWithCode(c.configurationInUse), "") << c.why;
}

}  // namespace
