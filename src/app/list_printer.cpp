#include "app/list_printer.h"

#include "app/entry_table_model.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"

#include <QPrinter>
#include <QTextDocument>

#include <span>
#include <utility>

namespace {

constexpr std::size_t kPrintedColumns = 12;

}  // namespace

void printList(const CLiedkramDoc& document, QPrinter& printer)
{
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>")
                       .arg(QString::fromStdString(document.GetTitle()).toHtmlEscaped());
    const auto printed = std::span(allColumns()).first(kPrintedColumns);
    for (const Column column : printed)
        html += QStringLiteral("<th align=\"left\">%1</th>").arg(EntryTableModel::headerText(column).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (std::size_t row = 0; row < document.GetCount(); ++row) {
        html += QStringLiteral("<tr>");
        for (const Column column : printed) {
            const QString cell = QString::fromStdString(std::as_const(document).GetEntry(row).GetColumnText(column));
            html += QStringLiteral("<td>%1</td>").arg(cell.toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument text;
    QFont font = text.defaultFont();
    font.setPointSize(7);
    text.setDefaultFont(font);
    text.setHtml(html);
    text.print(&printer);
}
