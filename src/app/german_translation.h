#pragma once

class QCoreApplication;

// Makes Qt's own dialogs and buttons German (Qt's translation "qtbase_de")
// and numbers and dates German, whatever the user's locale. Returns false
// when the translation is not installed; Qt's texts then stay English.
bool installGermanTranslation(QCoreApplication& application);
