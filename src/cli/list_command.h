#pragma once

#include "platform/repair_settings.h"

#include "entry/column.h"

#include <ostream>
#include <string>

class CLiedkramDoc;

namespace cli {

// The scan table of every entry of the document, in list order.
void writeListTable(const CLiedkramDoc& doc, std::ostream& out);

// Saves the document to the list file; a failure is reported through the
// installed prompter, naming the list file. False when it was not saved.
bool saveList(CLiedkramDoc& doc, const std::string& listPath);

// list: reads the list file alone (no MP3 file is opened) and writes its
// table. A list that cannot be read is reported through the installed
// prompter and gives kExitSkipped with nothing written.
int runList(const platform::RepairSettings& settings, const std::string& listPath, std::ostream& out);

// sort: reads the list, sorts it by the column, saves it and writes
// its table in the new order. Returns kExitSkipped when the list could not
// be read or saved (nothing written then).
int runSort(const platform::RepairSettings& settings, const std::string& listPath, Column column, std::ostream& out);

}  // namespace cli
