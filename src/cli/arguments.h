#pragma once

#include "cli/cover_font.h"
#include "cli/duplicate_answer.h"
#include "cli/rename_answer.h"
#include "cli/setting_value.h"
#include "entry/column.h"
#include "view/export_commands.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Command {
    Help,
    Version,
    Scan,
    Fix,
    Settings,
    List,
    Add,
    Subtract,
    Sort,
    Export,
    Stats,
    Cover,
    History,
    Undo,
    Redo,
    Find,
    Similar,
    Move,
};

struct Arguments {
    Command command = Command::Help;
    // Every command but settings: settings for this run only.
    std::vector<SettingValue> overrides;
    // scan, fix, add, subtract, move, and export, stats and cover without
    // --list: the named paths in their order.
    std::vector<std::string> paths;
    // fix: how the rename question is answered, and whether files stay as they are.
    RenameAnswer rename = RenameAnswer::Ask;
    bool dryRun = false;
    // fix: --no-backup keeps no originals for this run.
    bool keepOriginals = true;
    // list, add, subtract, sort, find, similar, move, and fix, export,
    // stats and cover with --list: the list file (ending in ".m3l").
    std::string listPath;
    // add: how the duplicate question is answered.
    DuplicateAnswer duplicate = DuplicateAnswer::Ask;
    // sort: the column.
    Column sortColumn = Column::File;
    // export: what is written.
    view::ExportKind exportKind = view::ExportKind::Spreadsheet;
    // export and cover: the file written.
    std::string outputPath;
    // cover: the font the fitting starts from (--font must be given).
    std::optional<CoverFont> font;
    // settings: the one to store; none means list them all.
    std::optional<SettingValue> store;
    // history: --purge, and the age in days beyond which change sets go
    // (none: the KeepDays setting).
    bool purge = false;
    std::optional<int> purgeDays;
    // undo and redo: the change set to undo or redo; none: the next one.
    std::optional<int> changeSet;
    // find: the words to look for.
    std::vector<std::string> words;
    // move: the folder the files go to, and --all (every entry, no paths).
    std::string folder;
    bool all = false;
};

// The arguments behind the program name. Throws UsageError when they do not
// form a command.
Arguments parseArguments(std::span<const std::string> args);

// The name of every command, settings last.
std::vector<std::string_view> commandNames();

}  // namespace cli
