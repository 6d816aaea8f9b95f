#include "app/command_table.h"

using namespace commands;

const std::vector<CommandInfo>& commandTable()
{
    static const std::vector<CommandInfo> table = {
        {kNew, "&Neu\tStrg+N", nullptr, "Erstellt eine neue MP3-Liste.\nNeu", "new"},
        {kOpen, "Ö&ffnen...\tStrg+O", nullptr, "Öffnet eine bestehende MP3-Liste.\nÖffnen", "open"},
        {kSave, "S&peichern\tStrg+S", nullptr, "Speichert die aktive MP3-Liste.\nSpeichern", "save"},
        {kSaveAs, "Speichern &unter...", nullptr, "Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter",
         nullptr},
        {kExportXls, "*.XLS exportieren", nullptr, "Exportiert die MP3-Liste ins Excel-2.1-Format.\nXLS-Export",
         "export_xls"},
        {kExportTxt, "*.TXT exportieren", nullptr,
         "Exportiert die markierten *.mp3's als Textdatei mit Dateinamen ohne Pfade.\n Export Text", "export_txt"},
        {kExportM3u, "*.M3U exportieren", nullptr,
         "Exportiert die markierten *.mp3's als Winamp-Playliste.\n Export Winamp", "export_m3u"},
        {kPrint, "&Drucken...\tStrg+P", nullptr, "Druckt die aktive MP3-Liste.\nDrucken", "print"},
        {kPrintPreview, "Sei&tenansicht", nullptr, "Zeigt ganze Seiten an.\nSeitenansicht", nullptr},
        {kPrintSetup, "Drucker&einrichtung...", nullptr,
         "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung", nullptr},
        {kRecentFile, "Letzte Datei", nullptr, "Öffnet dieses Dokument.", nullptr},
        {kExit, "&Beenden", nullptr, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden",
         nullptr},
        {kUndo, "&Rückgängig\tStrg+Z", nullptr,
         "Macht den letzten Schritt in diesem Fenster rückgängig, an der Liste und an den Dateien.\nRückgängig",
         nullptr},
        {kRedo, "&Wiederherstellen\tStrg+Y", nullptr,
         "Stellt den zuletzt rückgängig gemachten Schritt wieder her.\nWiederherstellen", nullptr},
        {kHistory, "Änderungs&verlauf...", nullptr,
         "Zeigt alle aufgezeichneten Änderungen an den Dateien; jede lässt sich einzeln rückgängig machen.\n"
         "Änderungsverlauf",
         nullptr},
        {kAddMp3s, "&MP3's hinzufügen", nullptr, "Fügt eine Auswahl von *.mp3's zur MP3-Liste hinzu.\nMP3s hinzufügen",
         "add"},
        {kAddFolder, "O&rdner hinzufügen...", nullptr,
         "Fügt alle *.mp3's eines Ordners und seiner Unterordner zur MP3-Liste hinzu.\nOrdner hinzufügen", nullptr},
        {kSubtractMp3s, nullptr, nullptr,
         "Entfernt diejenigen *.mp3's der Auswahl aus der MP3-Liste, die in dieser enthalten sind.\nMP3s subtrahieren",
         "subtract"},
        {kManualEdit, "Ma&nuell bearbeiten", "Manual Edit",
         "Erlaubt das manuelle Editieren der markierten *.mp3's.\nManuell Editieren", "manual_edit"},
        {kAutoEdit, "A&utomatisch bearbeiten", "Auto Edit",
         "Editiert automatisch alle ausgewählten *.mp3's den aktuellen Einstellungen gemäß.\nAutomatisch Editieren",
         "auto_edit"},
        {kOptions, "&Einstellungen", "Einstellungen", "Ermöglicht die Änderung der Programmeinstellungen.\nOptionen",
         nullptr},
        {kCdCover, "CD-Cover erstellen", "CD-Cover", "CD_Cover erstellen", nullptr},
        {kMoveMp3s, "mp3's verschieben", "mp3's verschieben",
         "Verschiebt die ausgewählten mp3's in ein anderes Verzeichnis, unabhängig von ihrer aktuellen Position.",
         nullptr},
        {kToolbar, "&Toolbar", nullptr, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten",
         nullptr},
        {kStatusBar, "&Status Bar", nullptr, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten",
         nullptr},
        {kMessages, "&Meldungen", nullptr,
         "Blendet die Meldungen der Befehle über viele Dateien ein oder aus.\nMeldungen ein-/ausschalten", nullptr},
        {kRefresh, "&Aktualisieren\tF5", nullptr, "Prüft, ob die Dateien der MP3-Liste noch da sind.\nAktualisieren",
         nullptr},
        {kStateIcons, "State &Icons", nullptr, "Zeigt Status-Icon an oder vesteckt sie.\nToggle State Icons",
         "state_icons"},
        {kFullTextSearch, "&Volltextsuche\tStrg+F", nullptr, nullptr, nullptr},
        {kSimilaritySearch, "Ä&hnlichkeitssuche", nullptr, nullptr, nullptr},
        {kReset, "&Reset", nullptr, nullptr, nullptr},
        {kAbout, "Inf&o", nullptr, "Zeigt Programm-Informationen und Versionsnummer an.\nInfo", "about"},
        {kPlay, nullptr, "Abspielen",
         "Spielt das *.mp3 mit dem Focus mit Standard-Player ab (Winamp, Kjöfol, Yamp, whatever).\nPlay", nullptr},
        {kDeleteRows, nullptr, "Einträge löschen", "Löscht die ausgewählten Einträge aus der MP3-Liste.\nLöschen",
         nullptr},
        {kStatistics, nullptr, "Eigenschaften", nullptr, nullptr},
        {kCut, nullptr, nullptr, "<not implemented>", "cut"},
        {kCopy, nullptr, nullptr, "<not implemented>", "copy"},
        {kPaste, nullptr, nullptr, "<not implemented>", "paste"},
    };
    return table;
}

const CommandInfo* findCommand(int id)
{
    for (const auto& command : commandTable()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

const std::vector<MenuInfo>& mainMenu()
{
    static const std::vector<MenuInfo> menus = {
        {"&Datei",
         {kNew, kOpen, kAddFolder, kSave, kSaveAs, kSeparator, kExportXls, kExportTxt, kExportM3u, kSeparator, kPrint,
          kPrintPreview, kPrintSetup, kSeparator, kRecentFile, kSeparator, kExit}},
        {"&Bearbeiten",
         {kUndo, kRedo, kHistory, kSeparator, kAddMp3s, kManualEdit, kSeparator, kAutoEdit, kOptions, kCdCover,
          kMoveMp3s}},
        {"&Anzeige", {kToolbar, kStatusBar, kMessages, kSeparator, kRefresh, kSeparator, kStateIcons}},
        {"&Suche", {kFullTextSearch, kSimilaritySearch, kSeparator, kReset}},
        {"&?", {kAbout}},
    };
    return menus;
}

const std::vector<int>& contextMenu()
{
    static const std::vector<int> items = {kManualEdit, kAutoEdit, kOptions,  kPlay,
                                           kDeleteRows, kCdCover,  kMoveMp3s, kStatistics};
    return items;
}

const std::vector<int>& toolbar()
{
    static const std::vector<int> buttons = {kNew,          kOpen,       kSave,      kSeparator, kAddMp3s,
                                             kSubtractMp3s, kManualEdit, kAutoEdit,  kExportXls, kExportM3u,
                                             kExportTxt,    kSeparator,  kCut,       kCopy,      kPaste,
                                             kSeparator,    kStateIcons, kSeparator, kPrint,     kAbout};
    return buttons;
}
