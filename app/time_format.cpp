#include "app/time_format.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace timefmt {
namespace {

QString storePath;
// The user's long format as last read or written; the decks ask for it on every monitor tick.
std::optional<QString> cachedLongFormat;
// Empty until the program sets its own at start: the user's locale's until then.
QString processShortFormat;
QChar processSeparator;

QString store()
{
    if (!storePath.isEmpty())
        return storePath;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Arvesto/locale.ini";
}

// The locale's time formats may carry a time-zone part ("t"), which a time of day has not.
QString withoutTimeZone(QString format)
{
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return format.trimmed();
}

// The user's locale: the system's, unless the program (or a test) chose a default of its own.
QString systemShortFormat() { return withoutTimeZone(QLocale().timeFormat(QLocale::ShortFormat)); }

// The mark between hours and minutes in the user's short format ("H.mm" gives '.'); quoted
// words ("HH 'h' mm") are no separator.
QChar systemSeparator()
{
    const QString format = systemShortFormat();
    const qsizetype hours = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    bool quoted = false;
    for (qsizetype i = hours + 1; hours >= 0 && i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
        else if (!quoted && c != 'h' && c != 'H' && c.isLetter())
            break;
    }
    return ':';
}

} // namespace

QString longTimeFormat()
{
    if (!cachedLongFormat) {
        const QSettings settings(store(), QSettings::IniFormat);
        const QString chosen = settings.value("LongTimeFormat").toString();
        cachedLongFormat = chosen.isEmpty() ? withoutTimeZone(QLocale().timeFormat(QLocale::LongFormat)) : chosen;
    }
    return *cachedLongFormat;
}

bool setLongTimeFormat(const QString& format)
{
    QDir().mkpath(QFileInfo(store()).absolutePath());
    QSettings settings(store(), QSettings::IniFormat);
    settings.setValue("LongTimeFormat", format);
    settings.sync();
    cachedLongFormat.reset();
    return settings.status() == QSettings::NoError && settings.isWritable();
}

void setStorePath(const QString& path)
{
    storePath = path;
    cachedLongFormat.reset();
}

QString shortTimeFormat() { return processShortFormat.isEmpty() ? systemShortFormat() : processShortFormat; }

QChar timeSeparator() { return processSeparator.isNull() ? systemSeparator() : processSeparator; }

void setProcessTimeFormat(const QString& shortFormat, QChar separator)
{
    processShortFormat = shortFormat;
    processSeparator = separator;
}

QString formatTime(const QTime& time, const QString& format) { return time.toString(format); }

std::optional<QTime> strToTime(const QString& text)
{
    const QStringList parts = text.trimmed().split(timeSeparator());
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int fields[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        fields[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QTime time(fields[0], fields[1], fields[2]);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace timefmt
