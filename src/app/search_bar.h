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

signals:
    void textChanged(const QString& text);
    void escapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* line_;
};
