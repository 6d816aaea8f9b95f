#include "cli/usage.h"

#include "cli/list_columns.h"

#include <algorithm>
#include <string_view>

namespace cli {

namespace {

// The help's lines are at most this many characters long.
constexpr std::size_t kLineWidth = 76;

// Characters rather than bytes: the column headers carry umlauts and signs.
std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The words of text as lines of at most kLineWidth characters, the first
// behind lead and the others behind as many spaces; each line ends in LF.
std::string wrapped(std::string_view lead, std::string_view text)
{
    const std::string indent(lead.size(), ' ');
    std::string lines(lead);
    std::size_t width = lead.size();
    bool lineStarted = false;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = std::min(text.find(' ', begin), text.size());
        const std::string_view word = text.substr(begin, end - begin);
        if (lineStarted && width + 1 + characters(word) > kLineWidth) {
            lines.append("\n").append(indent);
            width = indent.size();
            lineStarted = false;
        }
        if (lineStarted) {
            lines.push_back(' ');
            ++width;
        }
        lines.append(word);
        width += characters(word);
        lineStarted = true;
        begin = end + 1;
    }
    lines.push_back('\n');
    return lines;
}

}  // namespace

const std::string& usageText()
{
    // Laid out as help2man reads it: the manual page is made from this text.
    // clang-format off
    static const std::string text =
        std::string("Usage: liedkram-cli scan [--] PATH...\n"
        "  or: liedkram-cli fix [--rename=WHEN] [--dry-run] [--no-backup] [--] PATH...\n"
        "  or: liedkram-cli fix --list LIST.m3l [--rename=WHEN] [--dry-run] [--no-backup]\n"
        "  or: liedkram-cli list LIST.m3l\n"
        "  or: liedkram-cli add [--dup=ANSWER] [--] LIST.m3l PATH...\n"
        "  or: liedkram-cli subtract [--] LIST.m3l PATH...\n"
        "  or: liedkram-cli sort LIST.m3l COLUMN\n"
        "  or: liedkram-cli find [--] LIST.m3l WORD...\n"
        "  or: liedkram-cli similar LIST.m3l\n"
        "  or: liedkram-cli move [--] LIST.m3l DIR (PATH... | --all)\n"
        "  or: liedkram-cli export xls|m3u|txt OUT (--list LIST.m3l | [--] PATH...)\n"
        "  or: liedkram-cli stats (--list LIST.m3l | [--] PATH...)\n"
        "  or: liedkram-cli cover OUT.bmp --font FONT (--list LIST.m3l | [--] PATH...)\n"
        "  or: liedkram-cli history [--purge [DAYS]]\n"
        "  or: liedkram-cli undo [N]\n"
        "  or: liedkram-cli redo [N]\n"
        "  or: liedkram-cli settings [KEY VALUE]\n"
        "  or: liedkram-cli --help | -h | --version\n"
        "\n"
        "Keeps a collection of MP3 files in order: shows their tags (ID3v1, and\n"
        "ID3v2 where that lacks a field) and technical data, repairs them, keeps\n"
        "lists of them in list files and writes\n"
        "exports, statistics and a CD cover. Every command but settings also takes\n"
        "--set KEY=VALUE, any number of times. Messages go to standard error, one per\n"
        "line; the run goes on after them.\n"
        "\n"
        "Commands:\n"
        "  scan      Loads every named file (whatever its name) and every file ending\n"
        "            in .mp3 (any case) below a named folder, in byte order of the full\n"
        "            path; links to folders inside a folder are not followed, hidden\n"
        "            folders inside it are passed over and folders of kept originals\n"
        "            (.liedkram-backup-UID, the journal's) never entered. Prints a\n"
        "            tab-separated table to standard output: a header line, then one\n"
        "            line per file that was kept. Tab, CR, LF and backslash inside a\n"
        "            text are written as \\t, \\r, \\n and \\\\. The last column, Tags,\n"
        "            names the tags the file carries in the order they stand, for\n"
        "            example \"ID3v2.4 APEv2 ID3v1\" (ID3v2.2 to ID3v2.4 in front;\n"
        "            APEv2, Lyrics3v2, TAG+ and an appended ID3v2.4 behind the audio;\n"
        "            ID3v1 at the end).\n"
        "  fix       Loads the files as scan does and repairs each one in turn as the\n"
        "            settings ask: junk before and behind the audio cut away, the\n"
        "            copyright bit cleared and the original bit set in every frame\n"
        "            header, a fresh ID3v1 tag appended, the file renamed by the\n"
        "            pattern ID2DatNam. With SetID3V2=1 (the default) every changed\n"
        "            file begins with an ID3v2 tag: its own with every frame as it\n"
        "            was and only the fields that differ written anew (2.2 becomes\n"
        "            2.3), else a new 2.3 tag; tags behind the audio stay, the ID3v1\n"
        "            tag behind them. The new content replaces a file in one step,\n"
        "            so an interrupted run leaves it whole (old or new); a rename\n"
        "            never replaces another file. Prints the scan table of every file\n"
        "            after its repair, with one more column NewName (the proposed\n"
        "            name); Flags then shows the work still pending. Every change is\n"
        "            recorded in the journal first, the original content kept (see\n"
        "            undo). With --list it works on the entries of a list file\n"
        "            instead, in list order and as stored (no path may be named then),\n"
        "            and saves the list afterwards with the new names, sizes and\n"
        "            flags, also after Abbrechen; --dry-run leaves the list file as it\n"
        "            is too.\n"
        "  list      Prints the scan table of a list file's entries from the list\n"
        "            file alone; no MP3 file is opened.\n"
        "  add       Adds to a list file what the paths name (a list file that does\n"
        "            not exist yet starts empty): files and the .mp3 files below\n"
        "            folders as for scan, and the entries of list files named with a\n"
        "            name ending in .m3l. Every entry that is the same track as a\n"
        "            listed one (same title and artist, or same file name) is put to\n"
        "            the duplicate question (see --dup). Prints a line per change:\n"
        "            \"added PATH\", \"replaced PATH\" (a listed entry that gave way),\n"
        "            \"declined PATH\", \"cancelled PATH\" (declined, the run stopped).\n"
        "            The list is saved when it changed.\n"
        "  subtract  Removes from a list file every entry that is the same track as\n"
        "            a file or list entry the paths name; prints \"removed PATH\" for\n"
        "            each and saves the list when it changed.\n") +
        wrapped("  sort      ", "Sorts a list file by a column, given as its number " + columnNumberRange() +
                                   " or its header (" + columnHeaderList() +
                                   "; ASCII letters in any case), saves it and prints its table in the new order.") +
        "            A list file's name must end in .m3l (any case).\n"
        "  find      Prints the scan table of a list file's entries (from the list\n"
        "            file alone) in which every WORD occurs in one of the column\n"
        "            texts. Case and accents do not count, umlauts are spelt out\n"
        "            (\"bjoerk\" finds \"Björk\" and \"Bjoerk\"), the marks\n"
        "            ! # ' * + - . ? are left out.\n"
        "  similar   Prints the scan table of the entries that have a similar entry\n"
        "            in the list, group by group, an empty line between two groups,\n"
        "            the groups ordered by artist and title. Similar are entries add\n"
        "            takes for the same track, and entries whose title and artist\n"
        "            agree once a leading The, Die, Der or Das and any addition in\n"
        "            brackets (\"(Live)\", \"[Remastered]\") are left out, their\n"
        "            lengths at most 3 s apart.\n"
        "  move      Moves the files of the listed entries the paths name (--all:\n"
        "            every entry) into the folder DIR under their names, saves the\n"
        "            list with their new places and prints \"moved OLD -> NEW\" for\n"
        "            each. A file whose name is taken in DIR stays where it is and\n"
        "            is reported; so is one that is gone. To another file system a\n"
        "            file is copied, made durable, put in place and only then\n"
        "            removed, so it is never lost. One change set (see undo).\n"
        "  export    Writes every entry, in list order, to OUT: xls an Excel 2.1\n"
        "            worksheet (title, artist, album, size, genre, comment; at most\n"
        "            65535 rows, and none is no file), m3u a playlist of full paths,\n"
        "            txt the file names; lines end in CR LF. The entries are those of\n"
        "            --list LIST.m3l, read from the list file alone, or the files the\n"
        "            paths name, loaded as scan loads them. OUT is replaced when it\n"
        "            exists; it may not end in .mp3 or .m3l.\n"
        "  stats     Prints the count, total size and length, average size and\n"
        "            length and the average bitrate of the entries (as for export).\n"
        "  cover     Draws the CD cover of the entries (as for export; 2 to 49 of\n"
        "            them) as a 24-bit bitmap of 1800 x 1407 pixels to OUT.bmp, in the\n"
        "            font --font names, scaled to fill the cover. Needs no display:\n"
        "            it draws on Qt's offscreen platform unless QT_QPA_PLATFORM names\n"
        "            another.\n"
        "  history   Prints the change sets of the journal: number, time, command,\n"
        "            files changed, the bytes their kept originals take and whether\n"
        "            the set is undone (yes or no), then the total.\n"
        "  undo      Undoes change set N (default: the newest set not undone that\n"
        "            is no undo or redo, so a second undo goes one set further back):\n"
        "            every file gets back its old content and name; prints\n"
        "            \"restored WAS -> NOW\" for each. A file changed since, or whose\n"
        "            old name is taken, is reported and left alone. A set undone\n"
        "            already is refused.\n"
        "  redo      Gives undone change set N back (default: the set undone last)\n"
        "            by undoing its undo; prints as undo does. A set that is not\n"
        "            undone is refused.\n"
        "  settings  Without arguments prints the settings as KEY=VALUE lines (the\n"
        "            default where none is stored). With KEY VALUE stores one;\n"
        "            every setting but ID2DatNam takes an integer, and a pattern\n"
        "            with '/' or an unknown $ word is refused. The settings that\n"
        "            follow it as in the options dialog are stored too (one level\n"
        "            deep; TypMBX 0 or 1 brings its conversions and pattern, a\n"
        "            conversion or ID2DatNam makes TypMBX 2), each one that\n"
        "            changed printed as a KEY=VALUE line.\n"
        "\n"
        "Exit status:\n"
        "  0         everything asked for was done\n"
        "  1         a file was skipped (not loadable, missing, or in a folder that\n"
        "            could not be read), a change failed or was refused (a repair, a\n"
        "            rename, a .cop name, a move, an undo), a path named no listed\n"
        "            file (move), a list or output file could not be read or written,\n"
        "            fix met a file it cannot repair, or the run was ended early (a at\n"
        "            the rename question, cancel at the duplicate question); warnings\n"
        "            do not count\n"
        "  2         usage error\n"
        "\n"
        "Options:\n"
        "  --set KEY=VALUE      overrides one setting for this run only, exactly as\n"
        "                       given (no other setting follows it); nothing is\n"
        "                       stored\n"
        "  --                   ends the options: the arguments after it are paths\n"
        "                       even when they begin with a dash\n"
        "  --rename=WHEN        (fix) ask, the default, asks on standard error and\n"
        "                       reads the answer from standard input: j or y renames,\n"
        "                       n keeps the name, a (Abbrechen) stops the run; that\n"
        "                       file and all after it are left as they are and not\n"
        "                       printed. The end of input answers n. yes and no\n"
        "                       answer every question at once.\n"
        "  --dry-run            (fix) changes no file: the names are still proposed\n"
        "                       (and asked about), and Flags shows the work a real run\n"
        "                       would do\n"
        "  --no-backup          (fix) keeps no originals for this run (the names can\n"
        "                       still be undone)\n"
        "  --list LIST.m3l      (fix, export, stats, cover) takes the entries of a\n"
        "                       list file instead of paths\n"
        "  --dup=ANSWER         (add) answers the duplicate question: add keeps both,\n"
        "                       replace removes the listed ones, skip declines the new\n"
        "                       one and renames its file to NAME.cop, add-all and\n"
        "                       replace-all answer every later question of the run the\n"
        "                       same, cancel declines it and stops. ask, the default,\n"
        "                       asks on standard error and reads one of these words or\n"
        "                       its number 1-6 from standard input; the end of input\n"
        "                       answers skip.\n"
        "  --all                (move) moves every entry\n"
        "  --font FONT          (cover) FAMILY[,POINTS]: an installed font family\n"
        "                       (fc-list : family lists them) and the size in points\n"
        "                       the fitting starts from (default 12)\n"
        "  --purge [DAYS]       (history) removes the change sets older than DAYS\n"
        "                       (default: the setting KeepDays) with their originals;\n"
        "                       0 removes all\n"
        "  -h, --help           prints this help and exits\n"
        "  --version            prints the version and exits\n"
        "\n"
        "Environment:\n"
        "  XDG_CONFIG_HOME      where the settings are (default ~/.config)\n"
        "  XDG_DATA_HOME        where the journal and the kept originals are (default\n"
        "                       ~/.local/share)\n"
        "  QT_QPA_PLATFORM      the Qt platform cover draws on (default offscreen)\n"
        "\n"
        "Files:\n"
        "  ~/.config/CD_Cover erstellen/Liedkram.conf\n"
        "                       the settings; in $XDG_CONFIG_HOME when that is set\n"
        "  ~/.local/share/liedkram/\n"
        "                       the journal of the change sets, in originals/ the kept\n"
        "                       originals, and lock, which lets one program at a time\n"
        "                       change files; in $XDG_DATA_HOME/liedkram/ when that is\n"
        "                       set\n"
        "  TOP/.liedkram-backup-UID/\n"
        "                       the kept originals of files on another file system,\n"
        "                       at the top folder TOP of that file system, one folder\n"
        "                       for each user's number UID, used only while it is the\n"
        "                       user's own and closed to everyone else\n";
    return text;
    // clang-format on
}

}  // namespace cli
