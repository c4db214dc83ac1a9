// Starting the real window over a settings file, and what it holds afterwards for each key it
// reads, written the way the file writes it.
#pragma once
#include "support/harness.h"

#include <QMap>
#include <QStringList>
#include <optional>

namespace settingstest {

inline const QString readError =
    QStringLiteral("Erro na Leitura (INI)\rFeche o Voltaria e execute novamente\rPara atualização dos dados");

// The keys in the order the window reads them; "pasta_captura" comes with DRIVE.
inline const QStringList readingOrder{
    "AUTOMIXAR", "WAV", "MP3", "CLIPS", "TEMPO_MIX", "GRAFICO01", "GRAFICO02", "DEVICE_TRANSMISSAO", "DEVICE_CUE",
    "ATIVA_SENSOR", "VLR_SENSOR", "DRIVE", "pasta_captura", "FADE", "BT_CAPTURAGR", "EQ_ATIVA", "EQ_VOLUME",
    "EQ_BANDA01", "EQ_BANDA02", "EQ_BANDA03", "EQ_BANDA04", "EQ_BANDA05", "EQ_BANDA06", "EQ_BANDA07",
    "EQ_BANDA08", "EQ_BANDA09", "EQ_BANDA10", "OGG", "WMA"};

// A file in the written order whose values differ from both the defaults and the values the
// window holds before reading (the capture switch can only differ from one of them).
QStringList fullFile(bool captureOn);

// The names of the outputs that fullFile's device numbers stand for on the test engine, as the
// two lines written after the thirty.
inline const QStringList outputNames{"PLACA_MUSICAS=Placa de teste", QStringLiteral("PLACA_CUE=Sem saída de som")};

// The same, as the map the window should hold after reading it; `home` is the drive list's
// second entry.
QMap<QString, QString> fullValues(bool captureOn);
// What every key gives when it is missing (no file at all).
QMap<QString, QString> defaultValues(const QString& home);
// What the window holds when the reading stops at its first key.
QMap<QString, QString> initialValues();

// What the window holds for each key it reads, plus the capture folder ("pasta_captura").
QMap<QString, QString> held(const Tform_mixer& w);

QByteArray fileBytes(const QStringList& lines);

// A harness whose drive list has "/" first and a home folder of its own second.
class Started
{
public:
    explicit Started(const std::optional<QStringList>& file);
    ~Started();

    test::Harness h;
    Tform_mixer* w = nullptr;
    QString home; // the home folder's capture root, with its "/"

private:
    QByteArray savedHome_;
};

// Lines of `lines` with the key's value replaced (or the line dropped when value is empty optional).
QStringList withValue(QStringList lines, const QString& key, const std::optional<QString>& value);

// The mismatching keys, for a readable failure.
QString differences(const QMap<QString, QString>& expected, const QMap<QString, QString>& actual);

} // namespace settingstest
