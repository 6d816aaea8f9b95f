#include "cli/usage.h"

namespace cli {

const std::string& usageText()
{
    static const std::string text =
        "Usage:\n"
        "  liedkram-cli scan [--set KEY=VALUE]... [--] PATH...\n"
        "  liedkram-cli fix [--rename=ask|yes|no] [--dry-run] [--set KEY=VALUE]...\n"
        "                   [--] PATH...\n"
        "  liedkram-cli settings [KEY VALUE]\n"
        "  liedkram-cli --help | -h\n"
        "\n"
        "scan      Loads every named file (whatever its name) and every file ending\n"
        "          in .mp3 (any case) below a named folder, in byte order of the full\n"
        "          path; links to folders inside a folder are not followed. Prints a\n"
        "          tab-separated table to standard output: a header line, then one\n"
        "          line per file that was kept. Tab, CR, LF and backslash inside a\n"
        "          text are written as \\t, \\r, \\n and \\\\.\n"
        "          --set KEY=VALUE overrides one setting for this run only; nothing\n"
        "          is stored. Arguments after -- are paths even when they begin\n"
        "          with a dash.\n"
        "fix       Loads the files as scan does and repairs each one in turn as the\n"
        "          settings ask: junk before and behind the audio cut away, the\n"
        "          copyright bit cleared and the original bit set in every frame\n"
        "          header, a fresh ID3v1 tag appended, the file renamed by the\n"
        "          pattern ID2DatNam. The new content replaces a file in one step,\n"
        "          so an interrupted run leaves it whole (old or new); a rename\n"
        "          never replaces another file. Prints the scan table of every file\n"
        "          after its repair, with one more column NewName (the proposed\n"
        "          name); Flags then shows the work still pending.\n"
        "          --rename=ask (the default) asks on standard error and reads the\n"
        "          answer from standard input: j or y renames, n keeps the name,\n"
        "          a (Abbrechen) stops the run; that file and all after it are left\n"
        "          as they are and not printed. The end of input answers n.\n"
        "          --rename=yes and --rename=no answer every question at once.\n"
        "          --dry-run changes no file: the names are still proposed (and\n"
        "          asked about), and Flags shows the work a real run would do.\n"
        "          --set and -- work as for scan.\n"
        "settings  Without arguments prints the fifteen settings as KEY=VALUE lines\n"
        "          (the default where none is stored). With KEY VALUE stores one;\n"
        "          every setting but ID2DatNam takes an integer.\n"
        "\n"
        "Messages go to standard error, one per line; the run goes on after them.\n"
        "Settings live in $XDG_CONFIG_HOME (normally ~/.config) in\n"
        "CD_Cover erstellen/Liedkram.conf.\n"
        "\n"
        "Exit status: 0 every named file was kept; 1 a file was skipped (not\n"
        "loadable, missing, or in a folder that could not be read); 2 usage error.\n"
        "A repair or rename that fails is reported but does not change the status.\n";
    return text;
}

}  // namespace cli
