#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testsupport {

namespace {

// Test programs run side by side under ctest; each gets a data folder of its
// own below the one the build names, so that one never meets another's
// change lock or journal.
std::string ownDataHome()
{
    // Without a folder named by the build, never the user's own data.
    const char* shared = std::getenv("XDG_DATA_HOME");
    const std::string base =
        shared && *shared == '/' ? std::string(shared) : std::filesystem::temp_directory_path().string();
    std::error_code ignored;
    std::filesystem::create_directories(base, ignored);
    std::string pattern = base + "/liedkram-test-data-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return {};
    ::setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    static const std::string home = pattern;
    std::atexit([] {
        std::error_code error;
        std::filesystem::remove_all(home, error);
    });
    return pattern;
}

const std::string kOwnDataHome = ownDataHome();

}  // namespace

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "liedkram-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Tests may have taken write permission away; give it back to clean up.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const
{
    const std::string target = file(name);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + target);
    return target;
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    // One read of the whole file: byte by byte, the sanitizer build took
    // minutes over the tests that read many large files.
    in.seekg(0, std::ios::end);
    Bytes bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

}  // namespace testsupport
