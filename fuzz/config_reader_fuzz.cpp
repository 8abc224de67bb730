// Any bytes as config.ovm: the saved text is the start of the file's first line, as the
// 10-character buffer it is read into holds it, and what the writer stores reads back the same.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/config.h"

namespace {

// One directory for the whole run, under TMPDIR: scripts/fuzz.sh points that into the build
// tree and empties it afterwards, since libFuzzer may end the process without running atexit.
const std::filesystem::path& Dir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vellix-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return dir;
}

void WriteBytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file as a text stream reads it: a carriage return right before a line feed is dropped.
std::string FirstTextLine(const std::string& bytes)
{
    std::string folded;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            folded.push_back(bytes[i]);
    return folded.substr(0, folded.find('\n'));
}

[[noreturn]] void Fail(const char* what, const std::string& got)
{
    std::fprintf(stderr, "config reader: %s (saved text of %zu bytes)\n", what, got.size());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = Dir() / "config.ovm";
    WriteBytes(file, bytes);

    const std::string got = config::ReadSavedText(file.c_str()).Str();
    if (got.size() > 9)
        Fail("more than 9 characters", got);
    if (got.find('\n') != std::string::npos)
        Fail("holds a line feed", got);
    if (got.find('\0') != std::string::npos)
        Fail("holds a NUL", got);
    const std::string line = FirstTextLine(bytes);
    if (line.compare(0, got.size(), got) != 0)
        Fail("not a prefix of the first line", got);
    // Exactly as much of the line as the buffer keeps: 9 characters, or up to a NUL before that.
    const std::string kept = line.substr(0, 9);
    if (got != kept.substr(0, kept.find('\0')))
        Fail("cut at the wrong place", got);

    // Written back, the text is the file's whole content and is read as itself.
    const std::filesystem::path copy = Dir() / "written.ovm";
    config::WriteSavedText(CString(got), copy.c_str());
    if (ReadBytes(copy) != got)
        Fail("the writer stored something else", got);
    if (config::ReadSavedText(copy.c_str()).Str() != got)
        Fail("the written text reads back differently", got);
    return 0;
}
