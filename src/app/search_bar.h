#pragma once

#include <QWidget>

class QLineEdit;

// The line above the list the full-text search is typed into ("Suche:").
// Escape in it ends the search.
class SearchBar : public QWidget {
    Q_OBJECT
public:
    explicit SearchBar(QWidget* parent = nullptr);

    QLineEdit* line() const { return line_; }
    QString text() const;
    // Shows the bar with the keys in its line, the words typed before selected.
    void showForTyping();
    // Empties and hides the bar, without a search for nothing on the way.
    void clearAndHide();

signals:
    void textChanged(const QString& text);
    void escapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* line_;
};
