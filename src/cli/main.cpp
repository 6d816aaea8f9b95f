#include "cli/add_command.h"
#include "cli/arguments.h"
#include "cli/cover_command.h"
#include "cli/export_command.h"
#include "cli/find_command.h"
#include "cli/fix_command.h"
#include "cli/history_command.h"
#include "cli/list_command.h"
#include "cli/move_command.h"
#include "cli/override_profile.h"
#include "cli/progress_line.h"
#include "cli/scan_command.h"
#include "cli/settings_command.h"
#include "cli/similar_command.h"
#include "cli/stats_command.h"
#include "cli/stderr_prompter.h"
#include "cli/usage.h"
#include "history/journal_location.h"
#include "platform/qsettings_profile.h"
#include "platform/repair_settings.h"

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Arguments arguments;
    try {
        arguments = cli::parseArguments(args);
    } catch (const cli::UsageError& error) {
        std::cerr << "liedkram-cli: " << error.what() << "\n\n" << cli::usageText();
        return cli::kExitUsage;
    }
    if (arguments.command == cli::Command::Help) {
        std::cout << cli::usageText();
        return cli::kExitOk;
    }
    if (arguments.command == cli::Command::Version) {
        std::cout << "liedkram-cli " LIEDKRAM_VERSION "\n";
        return cli::kExitOk;
    }

    platform::QSettingsProfile stored;
    // The run's settings: the stored ones with the overrides of --set on top,
    // never stored.
    platform::RepairSettings settings = platform::readRepairSettings(stored);
    cli::OverrideProfile runProfile(stored);
    for (const cli::SettingValue& value : arguments.overrides)
        cli::applyOverride(settings, runProfile, value);
    cli::ProgressLine progress(std::cerr, ::isatty(STDERR_FILENO) == 1);
    cli::StderrPrompter prompter(std::cerr, &progress, arguments.rename, &std::cin, arguments.duplicate);
    platform::installProfile(&runProfile);
    platform::installPrompter(&prompter);

    switch (arguments.command) {
    case cli::Command::Scan:
        return cli::runScan(settings, arguments.paths, std::cout, progress);
    case cli::Command::Fix: {
        const cli::FixOptions options{arguments.dryRun, arguments.keepOriginals};
        if (!arguments.listPath.empty())
            return cli::runFixList(settings, arguments.listPath, options, std::cout, progress);
        return cli::runFix(settings, arguments.paths, options, std::cout, progress);
    }
    case cli::Command::History:
        return cli::runHistory(arguments.purge, arguments.purgeDays, std::cout);
    case cli::Command::Undo:
        return cli::runUndo(arguments.changeSet, history::keepingIsOn(), std::cout);
    case cli::Command::Redo:
        return cli::runRedo(arguments.changeSet, history::keepingIsOn(), std::cout);
    case cli::Command::List:
        return cli::runList(settings, arguments.listPath, std::cout);
    case cli::Command::Add:
        return cli::runAdd(settings, arguments.listPath, arguments.paths, std::cout);
    case cli::Command::Subtract:
        return cli::runSubtract(settings, arguments.listPath, arguments.paths, std::cout);
    case cli::Command::Find:
        return cli::runFind(settings, arguments.listPath, arguments.words, std::cout);
    case cli::Command::Similar:
        return cli::runSimilar(settings, arguments.listPath, std::cout);
    case cli::Command::Move:
        return cli::runMove(settings, arguments.listPath, arguments.folder, arguments.paths, arguments.all, std::cout);
    case cli::Command::Sort:
        return cli::runSort(settings, arguments.listPath, arguments.sortColumn, std::cout);
    case cli::Command::Export:
        return cli::runExport(settings, arguments.exportKind, arguments.outputPath, arguments.listPath, arguments.paths,
                              progress);
    case cli::Command::Stats:
        return cli::runStats(settings, arguments.listPath, arguments.paths, std::cout, progress);
    case cli::Command::Cover:
        return cli::runCover(settings, arguments.outputPath, *arguments.font, arguments.listPath, arguments.paths,
                             progress);
    case cli::Command::Settings:
    case cli::Command::Help:
    case cli::Command::Version:
        break;
    }
    // Stored for good, so past the layer that keeps a run's overrides.
    return cli::runSettings(stored, arguments.store, std::cout);
}
