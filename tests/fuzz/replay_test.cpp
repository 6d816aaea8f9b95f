#include "fuzz/fuzz_targets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

// Every file of the seed corpora, the findings of the fuzzers among them,
// through the target it was found for: no fuzzing engine needed.

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    std::function<void(std::span<const std::uint8_t>)> run;
};

void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}

class FuzzReplay : public ::testing::TestWithParam<Target> {};

}  // namespace

TEST_P(FuzzReplay, EveryKeptInputStillHolds)
{
    const fs::path corpus = fs::path(LIEDKRAM_FUZZ_CORPORA) / GetParam().name;
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    std::size_t inputs = 0;
    for (const auto& file : fs::directory_iterator(corpus)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        EXPECT_NO_THROW(GetParam().run(bytes)) << file.path().filename();
        ++inputs;
    }
    EXPECT_GT(inputs, 0u);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay,
                         ::testing::Values(Target{"fuzz_load", fuzz::loadTarget}, Target{"fuzz_list", fuzz::listTarget},
                                           Target{"fuzz_text", fuzz::textTarget},
                                           Target{"fuzz_rewrite", fuzz::rewriteTarget},
                                           Target{"fuzz_fixList", fuzz::fixListTarget}),
                         [](const auto& test) { return std::string(test.param.name); });
