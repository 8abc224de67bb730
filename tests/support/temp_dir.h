// A fresh working directory for one test, removed afterwards: the program reads and writes
// config.ovm relative to the working directory.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path File(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

std::string ReadFile(const std::filesystem::path& p);
void WriteFile(const std::filesystem::path& p, const std::string& bytes);

}  // namespace testsupport
