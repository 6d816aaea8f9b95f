#pragma once

#include <string_view>
#include <vector>

// Command ids of the program; menus, toolbar and context menu refer to them.
namespace commands {
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kExportXls = 32790;
inline constexpr int kExportTxt = 32801;
inline constexpr int kExportM3u = 32797;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kRecentFile = 57616;
inline constexpr int kExit = 57665;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kHistory = 32813;
inline constexpr int kAddMp3s = 32789;
inline constexpr int kAddFolder = 32814;
inline constexpr int kSubtractMp3s = 32799;
inline constexpr int kManualEdit = 32791;
inline constexpr int kAutoEdit = 32792;
inline constexpr int kOptions = 57666;
inline constexpr int kCdCover = 32800;
inline constexpr int kMoveMp3s = 32805;
inline constexpr int kToolbar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kMessages = 32815;
inline constexpr int kRefresh = 32816;
inline constexpr int kStateIcons = 32782;
inline constexpr int kFullTextSearch = 32802;
inline constexpr int kSimilaritySearch = 32803;
inline constexpr int kReset = 32804;
inline constexpr int kAbout = 57664;
inline constexpr int kPlay = 32796;
inline constexpr int kDeleteRows = 32798;
inline constexpr int kStatistics = 32812;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
// A gap in the toolbar, a separator in a menu.
inline constexpr int kSeparator = 0;
}  // namespace commands

struct CommandInfo {
    int id;
    const char* menuText;  // main menu text with "&" mnemonic and "\t" shortcut; null when not in the menu
    const char* contextText;  // context menu text; null when not there
    const char* prompt;  // status-bar prompt; after "\n" the tooltip; null when none
    const char* iconName;  // the toolbar icon, res/icons/NAME.svg; null when not on the toolbar
};

const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(int id);

struct MenuInfo {
    const char* title;
    std::vector<int> items;  // command ids, kSeparator for a separator
};

const std::vector<MenuInfo>& mainMenu();
const std::vector<int>& contextMenu();
const std::vector<int>& toolbar();
