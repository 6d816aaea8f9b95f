#pragma once

#include <QDockWidget>

#include <string_view>

class QListWidget;
class QListWidgetItem;

// "Meldungen": the messages of runs over many files, one line each, below
// the list. It opens itself with the first message; its lines can be copied
// and cleared, and a double click on one asks for the row of its file.
class MessagesDock : public QDockWidget {
    Q_OBJECT
public:
    explicit MessagesDock(QWidget* parent = nullptr);

    // A message; path names its file when the caller knows it (may be empty).
    void add(std::string_view path, std::string_view text);
    QStringList texts() const;
    QListWidget* list() const { return list_; }

    // The selected lines, or all of them when none is selected, to the clipboard.
    void copy() const;
    void clear();

signals:
    // The file a double-clicked line names, or the line's text when it named none.
    void fileActivated(const QString& path, const QString& text);

private:
    void activated(QListWidgetItem* item);

    QListWidget* list_;
};
