// The user's time formats, which the decks' "mm:ss" read-outs depend on.
// The long format is read from the user's locale unless the user set one through this
// program; that choice is kept in the user's configuration folder and outlasts the program.
// The process-wide formats are the user's locale's until the program sets its own at the main
// window's creation (separator ":"), as the start-up's time-format check must see them.
// Formats use Qt's notation (HH, H, mm, ss, AP); main thread only.
#pragma once
#include <QString>
#include <QTime>
#include <optional>

namespace timefmt {

QString longTimeFormat();
// Stores the user's long time format; false when it could not be saved.
bool setLongTimeFormat(const QString& format);
// Where the user's choice is kept (a test sets a temporary file; empty restores the default).
void setStorePath(const QString& path);

// The process's short time format and time separator; empty values give back the locale's.
QString shortTimeFormat();
QChar timeSeparator();
void setProcessTimeFormat(const QString& shortFormat, QChar separator);

// A time value turned into text with a format.
QString formatTime(const QTime& time, const QString& format);
// "hh:mm[:ss]" read with the process's separator; nothing when the text is not a time.
std::optional<QTime> strToTime(const QString& text);

} // namespace timefmt
