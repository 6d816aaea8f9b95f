#include "autoedit/rename_proposals.h"

#include "autoedit/auto_edit.h"
#include "autoedit/file_rename.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/path.h"

#include <set>
#include <string>
#include <utility>

namespace autoedit {

using platform::RenameProposal;

std::vector<RenameProposal> ProposeRenames(const std::vector<const CLiedkramEntry*>& entries,
                                           const platform::NamingRules& rules)
{
    std::vector<RenameProposal> proposals;
    // The paths earlier entries of the run take, so two never get one name.
    std::set<std::string> given;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const CLiedkramEntry& entry = *entries[index];
        RenameProposal proposal;
        proposal.index = index;
        proposal.oldName = entry.m_szFileName.str();
        proposal.newName = ExpandPattern(entry, rules);
        if (proposal.newName == proposal.oldName)
            continue;
        proposal.missing = MissingField(entry, rules.pattern);
        const std::string target = platform::joinPath(entry.m_szPath.view(), proposal.newName);
        if (!proposal.missing.empty())
            proposal.mark = RenameProposal::Mark::MissingField;
        else if (!isAllowedName(proposal.newName))
            proposal.mark = RenameProposal::Mark::NotAllowed;
        else if (given.count(target) != 0 || platform::fileExists(target))
            proposal.mark = RenameProposal::Mark::Taken;
        proposal.ticked = proposal.mark == RenameProposal::Mark::Offered;
        if (proposal.ticked)
            given.insert(target);
        proposals.push_back(std::move(proposal));
    }
    return proposals;
}

}  // namespace autoedit
