#include "cli/usage.h"

namespace cli {

const std::string& usageText()
{
    static const std::string text =
        "Usage:\n"
        "  liedkram-cli scan [--set KEY=VALUE]... [--] PATH...\n"
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
        "settings  Without arguments prints the fifteen settings as KEY=VALUE lines\n"
        "          (the default where none is stored). With KEY VALUE stores one;\n"
        "          every setting but ID2DatNam takes an integer.\n"
        "\n"
        "Messages go to standard error, one per line; the run goes on after them.\n"
        "Settings live in $XDG_CONFIG_HOME (normally ~/.config) in\n"
        "CD_Cover erstellen/Liedkram.conf.\n"
        "\n"
        "Exit status: 0 every named file was kept; 1 a file was skipped (not\n"
        "loadable, missing, or in a folder that could not be read); 2 usage error.\n";
    return text;
}

}  // namespace cli
