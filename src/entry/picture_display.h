#pragma once

class CLiedkramEntry;

namespace platform {
class PrivateTempDir;
class ShellOpener;
}  // namespace platform

namespace entry {

// Whether the ID3v2 tag at the start of the entry's file, of any version,
// holds a picture. Asks the file itself, so it answers for entries of a
// saved list too; a file that cannot be read holds none.
bool hasId3v2Picture(const CLiedkramEntry& entry);

// Writes the picture of the file's ID3v2 tag (its front cover, else its
// first picture) into a file of the private directory and opens it with the
// desktop's viewer. Failures are reported to the user. Returns whether the
// picture was opened.
bool showId3v2Picture(const CLiedkramEntry& entry, platform::PrivateTempDir& directory, platform::ShellOpener& shell);

}  // namespace entry
