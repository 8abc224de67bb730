#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

TempWorkDir::TempWorkDir() : m_previous(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vellix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    std::filesystem::current_path(m_path);
}

TempWorkDir::~TempWorkDir()
{
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace testsupport
