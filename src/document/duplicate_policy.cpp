#include "document/duplicate_policy.h"

namespace document {

using platform::DuplicateChoice;

bool DuplicatePolicy::answersAll() const
{
    return last_ == DuplicateChoice::AddAll || last_ == DuplicateChoice::ReplaceAll || last_ == DuplicateChoice::Cancel;
}

DuplicateChoice DuplicatePolicy::choose(const std::function<DuplicateChoice()>& ask)
{
    if (!answersAll())
        last_ = ask();
    return last_;
}

}  // namespace document
