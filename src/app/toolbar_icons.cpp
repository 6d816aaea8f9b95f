#include "app/toolbar_icons.h"

QIcon toolbarIcon(const QString& name)
{
    return QIcon(QStringLiteral(":/res/icons/%1.svg").arg(name));
}
