#include "config/settings_file.h"

#include "app/paths.h"
#include "base/textfile.h"

namespace settings {

QString path() { return app::dataFile(QStringLiteral("VOLTARIA4.INI")); }

QStringList readLines()
{
    QStringList lines;
    textfile::readFileLines(path(), lines);
    return lines;
}

bool writeLines(const QStringList& lines) { return textfile::writeFileLines(path(), lines); }

std::optional<int32_t> toInteger(const QString& value)
{
    bool ok = false;
    const int32_t number = value.toInt(&ok, 10);
    return ok ? std::optional<int32_t>(number) : std::nullopt;
}

QString bandKey(int band) { return QStringLiteral("EQ_BANDA%1").arg(band + 1, 2, 10, QLatin1Char('0')); }

} // namespace settings
