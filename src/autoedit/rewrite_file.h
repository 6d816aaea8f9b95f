#pragma once

class CLiedkramEntry;

namespace autoedit {

// Carries out on disk what the entry's flags ask for: cuts the junk before
// and behind the audio, puts the entry's original and copyright bits into
// every frame header, appends a fresh ID3v1 tag and renames the file. The
// new content replaces the file in one step; any failure leaves the file as
// it was and is reported. Afterwards the entry describes the file as it is,
// and the bits whose work was done are cleared.
void RewriteFile(CLiedkramEntry& entry);

}  // namespace autoedit
