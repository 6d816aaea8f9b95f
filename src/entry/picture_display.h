#pragma once

class CLiedkramEntry;

namespace platform {
class PrivateTempDir;
class ShellOpener;
}  // namespace platform

namespace entry {

// Writes the picture of the file's ID3v2 tag into a file of the private
// directory and opens it with the desktop's viewer. Failures are reported
// to the user. Returns whether the picture was opened.
bool showId3v2Picture(const CLiedkramEntry& entry, platform::PrivateTempDir& directory, platform::ShellOpener& shell);

}  // namespace entry
