#include "app/row_delegate.h"

#include "app/entry_table_model.h"
#include "app/shown_rows_model.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kFirstColumnOffset = 2;
constexpr int kColumnOffset = 3;
const QString kMarker = QStringLiteral("..");
const QString kTicked = QString::fromUtf8(kFlagSetText.data(), static_cast<qsizetype>(kFlagSetText.size()));

// A column that shows a header bit as a check box.
bool isFlagColumn(int section)
{
    const auto column = columnAt(section);
    return column && columnInfo(*column).flag;
}

}  // namespace

QString fitText(const QFontMetrics& metrics, const QString& text, int width, int offset)
{
    if (text.isEmpty() || metrics.horizontalAdvance(text) + offset <= width)
        return text;
    const int marker = metrics.horizontalAdvance(kMarker);
    qsizetype length = text.size() - 1;
    while (length > 1 && metrics.horizontalAdvance(text.left(length)) + offset + marker > width)
        --length;
    return text.left(std::max<qsizetype>(length, 1)) + kMarker;
}

QString cellText(const QFontMetrics& metrics, const QString& text, int cellWidth, int column)
{
    if (isFlagColumn(column))
        return text;
    const int offset = column == 0 ? kFirstColumnOffset : kColumnOffset;
    return fitText(metrics, text, cellWidth - offset, offset);
}

RowDelegate::RowDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      emptyBox_(QStringLiteral(":/res/box_empty.xpm")),
      tickedBox_(QStringLiteral(":/res/box_ticked.xpm"))
{
}

QColor RowDelegate::shadedBackground(const QPalette& palette)
{
    // A little of the selection colour over the background: plainly a shade
    // in any style (the alternate base of many is all but white), never
    // taken for a selection.
    constexpr float kTint = 0.12f;
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor tint = palette.color(QPalette::Active, QPalette::Highlight);
    const auto mixed = [](float under, float over) { return under + (over - under) * kTint; };
    return QColor::fromRgbF(mixed(base.redF(), tint.redF()), mixed(base.greenF(), tint.greenF()),
                            mixed(base.blueF(), tint.blueF()));
}

QColor RowDelegate::pendingColor(bool selected)
{
    return selected ? QColor(255, 112, 112) : QColor(224, 0, 0);
}

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    // The selection shows in the active colours also while the list has no focus.
    painter->fillRect(option.rect, selected ? palette.color(QPalette::Active, QPalette::Highlight)
                                   : index.data(ShownRowsModel::ShadedRole).toBool()
                                       ? shadedBackground(palette)
                                       : palette.color(QPalette::Active, QPalette::Base));

    const bool pending = index.data(EntryTableModel::FlagsRole).toUInt() != 0;
    QColor textColor = selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                : palette.color(QPalette::Active, QPalette::Text);
    if (pending)
        textColor = pendingColor(selected);
    // A file that is not there as listed is greyed, whatever is pending.
    if (index.data(EntryTableModel::AbsentRole).toBool())
        textColor = palette.color(QPalette::Disabled, QPalette::Text);

    const QString text = index.data(Qt::DisplayRole).toString();
    const int column = index.column();
    const int offset = column == 0 ? kFirstColumnOffset : kColumnOffset;
    const QRect box = option.rect.adjusted(offset, 0, 0, 0);
    if (isFlagColumn(column)) {
        const QImage& image = text == kTicked ? tickedBox_ : emptyBox_;
        painter->drawImage(box.left(), box.top() + (box.height() - image.height()) / 2, image);
        return;
    }
    if (text.isEmpty())
        return;
    painter->save();
    painter->setPen(textColor);
    painter->setFont(option.font);
    const QString shown = cellText(option.fontMetrics, text, option.rect.width(), column);
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, shown);
    painter->restore();
}
