#include "app/toolbar_icons.h"

#include "app/command_table.h"

#include <QPainter>
#include <QPixmap>

namespace {

struct Badge {
    int id;
    const char* label;
    QRgb colour;
};

constexpr Badge kBadges[] = {
    {commands::kNew, "N", 0xFF2A5D9F},        {commands::kOpen, "O", 0xFF2A5D9F},
    {commands::kSave, "S", 0xFF2A5D9F},       {commands::kAddMp3s, "+", 0xFF2E7D32},
    {commands::kSubtractMp3s, "-", 0xFFC62828}, {commands::kManualEdit, "M", 0xFF6A1B9A},
    {commands::kAutoEdit, "A", 0xFF6A1B9A},   {commands::kExportXls, "X", 0xFF00796B},
    {commands::kExportM3u, "W", 0xFF00796B},  {commands::kExportTxt, "T", 0xFF00796B},
    {commands::kCut, "x", 0xFF757575},        {commands::kCopy, "c", 0xFF757575},
    {commands::kPaste, "v", 0xFF757575},      {commands::kStateIcons, "I", 0xFF5D4037},
    {commands::kPrint, "P", 0xFF37474F},      {commands::kAbout, "?", 0xFF37474F},
};

QIcon drawnBadge(int commandId)
{
    const char* label = "";
    QColor colour(0x37, 0x47, 0x4F);
    for (const Badge& badge : kBadges) {
        if (badge.id == commandId) {
            label = badge.label;
            colour = QColor::fromRgba(badge.colour);
        }
    }
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromLatin1(label));
    painter.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon toolbarIcon(int commandId, const QString& themeName)
{
    return QIcon::fromTheme(themeName, drawnBadge(commandId));
}
