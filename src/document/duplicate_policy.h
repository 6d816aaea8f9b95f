#pragma once

#include "platform/duplicate_choice.h"

#include <functional>

namespace document {

// The answer memory of one add run: the duplicate question is asked for
// each twin until an answer for all of them ("alle", or "Abbrechen") is given.
class DuplicatePolicy {
public:
    DuplicatePolicy() = default;
    // A run that answers every twin alike without asking.
    explicit DuplicatePolicy(platform::DuplicateChoice forAll) : last_(forAll) {}

    // What to do with the next twin: ask() gives the user's answer when no
    // answer for all was given yet.
    platform::DuplicateChoice choose(const std::function<platform::DuplicateChoice()>& ask);
    bool cancelled() const { return last_ == platform::DuplicateChoice::Cancel; }

private:
    bool answersAll() const;

    platform::DuplicateChoice last_ = platform::DuplicateChoice::Add;
};

}  // namespace document
