#include "platform/qsettings_profile.h"

#include <QSettings>
#include <QString>

namespace platform {

namespace {

QString keyOf(std::string_view key)
{
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

QSettingsProfile::QSettingsProfile()
    : settings_(std::make_unique<QSettings>(QStringLiteral("CD_Cover erstellen"), QStringLiteral("Liedkram")))
{
}

QSettingsProfile::~QSettingsProfile() = default;

int QSettingsProfile::getInt(std::string_view key, int defaultValue)
{
    const QVariant value = settings_->value(keyOf(key));
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QSettingsProfile::writeInt(std::string_view key, int value)
{
    settings_->setValue(keyOf(key), value);
    settings_->sync();
}

std::string QSettingsProfile::getString(std::string_view key, std::string_view defaultValue)
{
    const QVariant value = settings_->value(keyOf(key));
    if (!value.isValid())
        return std::string(defaultValue);
    return value.toString().toStdString();
}

void QSettingsProfile::writeString(std::string_view key, std::string_view value)
{
    settings_->setValue(keyOf(key), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    settings_->sync();
}

}  // namespace platform
