// The font configuration is loaded by the time the preload ends, so that Qt finds it loaded.
// Each case runs in a fresh process (fontconfig loads once per process): the configuration file
// names a font folder of the test's own; once the preload has ended, FONTCONFIG_FILE is pointed at
// nothing, so the folder is in fontconfig's list only if the configuration was already loaded.
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
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

// Exits 0 when the configuration the preload was to load is the one in use, 1 when it is not, and
// 2 when fontconfig is not in the process.
[[noreturn]] void LoadThenHideTheConfiguration(bool preload)
{
    const fs::path root = fs::temp_directory_path() / ("vellix-fonts-" + std::to_string(getpid()));
    const fs::path fonts = root / "fonts";
    fs::create_directories(fonts);
    testsupport::WriteFile(root / "fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" + fonts.string() +
                                                    "</dir>\n  <cachedir>" + (root / "cache").string() +
                                                    "</cachedir>\n</fontconfig>\n");
    setenv("FONTCONFIG_FILE", (root / "fonts.conf").c_str(), 1);
    const FontConfig fc;
    int status = 2;
    if (fc.Present()) {
        if (preload) {
            ui::qt::FontConfigPreload load;
            if (!load.Started())
                std::_Exit(3);
        }
        setenv("FONTCONFIG_FILE", (root / "not-there.conf").c_str(), 1);
        status = fc.Lists(fonts) ? 0 : 1;
    }
    fs::remove_all(root);
    std::_Exit(status);
}

TEST(FontConfigPreloadTest, TheConfigurationIsLoadedWhenThePreloadEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a process that has not loaded fonts yet
    EXPECT_EXIT(LoadThenHideTheConfiguration(true), testing::ExitedWithCode(0), "")
        << "after the preload the configuration in use is the one FONTCONFIG_FILE named then";
    // Without the preload the same steps load the configuration late, from the file that is not
    // there: the check above can tell the two apart.
    EXPECT_EXIT(LoadThenHideTheConfiguration(false), testing::ExitedWithCode(1), "");
}

}  // namespace
