#pragma once

namespace platform {

// The answers of the duplicate question, numbered as they are typed.
enum class DuplicateChoice {
    Add = 1,
    Replace,
    Skip,
    AddAll,
    ReplaceAll,
    Cancel,
};

}  // namespace platform
