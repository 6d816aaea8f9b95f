#include "history/undo_state.h"

namespace history {

UndoState::UndoState(const std::vector<ChangeSetRecord>& sets)
{
    // From the newest set on: whether a set is undone is settled by the later ones.
    int newestUndo = 0;
    for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
        if (set->changes.empty())
            continue;
        const bool undone = isUndone(set->number);
        if (set->undoes > 0 && !undone)
            undoInForce_.emplace(set->undoes, set->number);
        if (set->undoes == 0 && !undone && !newestToUndo_)
            newestToUndo_ = set->number;
        if (set->undoes == 0 && undone && undoInForce_.at(set->number) > newestUndo) {
            newestUndo = undoInForce_.at(set->number);
            newestToRedo_ = set->number;
        }
    }
}

bool UndoState::isUndone(int number) const
{
    return undoInForce_.count(number) > 0;
}

std::optional<int> UndoState::undoOf(int number) const
{
    const auto found = undoInForce_.find(number);
    if (found == undoInForce_.end())
        return std::nullopt;
    return found->second;
}

}  // namespace history
