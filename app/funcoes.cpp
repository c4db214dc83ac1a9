#include "app/funcoes.h"

#include "app/dialogs.h"
#include "app/long_operation.h"
#include "base/path_bytes.h"
#include "app/time_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <fnmatch.h>

QString zeros_esquerda(const QString& text, int width)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) <= QChar(' '))
        ++start;
    const QString trimmed = text.mid(start);
    const qsizetype missing = width - trimmed.size();
    if (missing <= 0)
        return text;
    return QString(missing, '0') + trimmed;
}

void mensagem(const QString& text)
{
    dialogs().beep();
    dialogs().message(text);
}

bool confirma(const QString& text)
{
    dialogs().beep();
    return dialogs().confirm(text, QString::fromUtf8(confirmaCaption));
}

void lista_arquivos(const QString& folder, const QString& mask, QStringList& list)
{
    const QByteArray pattern = base::pathToBytes(mask == "*.*" ? QStringLiteral("*") : mask);
    const app::LongOperation operation;
    QElapsedTimer slice;
    slice.start();
    // Keep the window responsive on long listings, without paying for it on every name.
    for (const QString& name : base::fileNames(folder.trimmed())) {
        if (slice.elapsed() >= 30) {
            QCoreApplication::processEvents();
            slice.restart();
        }
        // Hidden files are not listed.
        if (name.startsWith(u'.') || fnmatch(pattern.constData(), base::pathToBytes(name).constData(), FNM_CASEFOLD) != 0)
            continue;
        // Every format the decks play, so a folder opened from a file lists all of its tracks.
        const QString upper = name.toUpper();
        if (upper.endsWith(".MP3") || upper.endsWith(".WAV") || upper.endsWith(".OGG") || upper.endsWith(".WMA"))
            list.append(upper);
    }
    std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a.toUpper(), b.toUpper()) < 0;
    });
}

std::optional<QTime> ms_para_hora(int32_t ms)
{
    if (ms <= 0)
        return QTime(0, 0, 0);
    const int32_t totalMinutes = ms / 60000;
    const QString text = zeros_esquerda(QString::number(totalMinutes / 60), 2) + ':' +
                         zeros_esquerda(QString::number(totalMinutes % 60), 2) + ':' +
                         zeros_esquerda(QString::number((ms % 60000) / 1000), 2);
    return timefmt::strToTime(text);
}

QString busca_valor(const QStringList& lines, const QString& name, const QString& fallback)
{
    const QString key = name + '=';
    for (const QString& line : lines) {
        if (line.contains(key))
            return line.mid(line.indexOf('=') + 1).left(255);
    }
    return fallback;
}

std::optional<QString> texto_tempo(int64_t ms)
{
    if (ms > INT32_MAX)
        return std::nullopt;
    const std::optional<QTime> time = ms_para_hora(static_cast<int32_t>(ms));
    if (!time)
        return std::nullopt;
    return timefmt::formatTime(*time, timefmt::longTimeFormat()).mid(3, 5);
}

void verifica_hora()
{
    std::optional<QTime> midnight = timefmt::strToTime(QStringLiteral("00:00:00"));
    if (!midnight) {
        dialogs().message(QStringLiteral("Formato de Hora Inválido:") + timefmt::shortTimeFormat());
        // Midnight can still be formatted, and offering the fix is the useful answer here.
        midnight = QTime(0, 0, 0);
    }
    if (timefmt::formatTime(*midnight, timefmt::longTimeFormat()) == QLatin1String("00:00:00"))
        return;
    const bool fix = confirma(QStringLiteral(
        "O Formato de HORA Padrão do Windows está em modo incompatível com o VOLTARIA\r\rDESEJA QUE O SOFTWARE "
        "ACERTE O FORMATO PADRÃO PARA HH:mm:ss ??"));
    if (fix && !timefmt::setLongTimeFormat(QStringLiteral("HH:mm:ss")))
        dialogs().message(QStringLiteral("Não foi possível efetuar a correção - Verifique"));
}
