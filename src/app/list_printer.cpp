#include "app/list_printer.h"

#include "app/entry_table_model.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"

#include <QPrinter>
#include <QTextDocument>

#include <utility>
#include <vector>

QString listHtml(const CLiedkramDoc& document)
{
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>")
                       .arg(QString::fromStdString(document.GetTitle()).toHtmlEscaped());
    std::vector<Column> printed;
    for (const Column column : allColumns()) {
        if (columnInfo(column).printed)
            printed.push_back(column);
    }
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
    return html;
}

void printList(const CLiedkramDoc& document, QPrinter& printer)
{
    QTextDocument text;
    QFont font = text.defaultFont();
    font.setPointSize(7);
    text.setDefaultFont(font);
    text.setHtml(listHtml(document));
    text.print(&printer);
}
