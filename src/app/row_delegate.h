#pragma once

#include <QImage>
#include <QStyledItemDelegate>

class QFontMetrics;

// The text as it fits into width pixels after an offset: cut from the end,
// down to one character, and ".." appended.
QString fitText(const QFontMetrics& metrics, const QString& text, int width, int offset);
// What a cell of the column, cellWidth pixels wide, shows of its text; the
// flag columns show a box and never cut.
QString cellText(const QFontMetrics& metrics, const QString& text, int cellWidth, int column);

// Draws the rows: selection colours, every other group of similar entries
// shaded, red text for entries with pending work, ticked or empty boxes for
// the original and copyright columns, texts shortened with "..".
class RowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RowDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Text colours of rows with pending work.
    static QColor pendingColor(bool selected);
    // The background of every other group of similar entries.
    static QColor shadedBackground(const QPalette& palette);

private:
    QImage emptyBox_;
    QImage tickedBox_;
};
