#include "autoedit/manual_edit.h"

#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"

namespace autoedit {

ManualEditResult ApplyManualEdit(CLiedkramEntry& entry, const ManualEdit& edit,
                                 const platform::RepairSettings& settings, history::ChangeSet* changes)
{
    if (edit.changeFlags == 0)
        return {ManualEditOutcome::NothingToSave};
    // A file that is gone or changed keeps the list's data as it was.
    const entry::FilePresence presence = entry::CheckPresence(entry.GetFullPath(), entry.m_nFileSize);
    if (presence != entry::FilePresence::Present)
        return {ManualEditOutcome::NotPresent, presence};

    entry.m_nFlags = edit.changeFlags;
    entry.UpdateCutFlags(settings);
    entry.m_szTitle = edit.title;
    entry.m_szArtist = edit.artist;
    entry.m_szAlbum = edit.album;
    entry.m_szComment = edit.comment;
    entry.m_nYear = edit.year;
    entry.m_nGenre = edit.genre;
    entry.m_nTrack = edit.track;
    entry.m_strNewName = edit.newName;
    entry.SetOriginal(edit.original ? 1 : 0);
    entry.SetCopyright(edit.copyright ? 1 : 0);
    if (RewriteFile(entry, settings, changes) == RewriteOutcome::Failed)
        return {ManualEditOutcome::Failed};
    return {ManualEditOutcome::Saved};
}

}  // namespace autoedit
