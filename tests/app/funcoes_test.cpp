// The shared routines, each as one table of cases.
#include "app/funcoes.h"
#include "app/startup.h"
#include "app/time_format.h"
#include "support/recording_dialogs.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct UserFormat {
    QTemporaryDir dir;
    explicit UserFormat(const QString& longFormat)
    {
        timefmt::setStorePath(dir.filePath("locale.ini"));
        timefmt::setLongTimeFormat(longFormat);
        timefmt::setProcessTimeFormat("HH:mm:ss", ':');
    }
    ~UserFormat() { timefmt::setStorePath(QString()); }
};

} // namespace

TEST(ZerosEsquerda, PadsTheTrimmedTextOrReturnsItUntouched)
{
    const struct {
        const char* text;
        int width;
        const char* expected;
    } cases[] = {
        {"7", 2, "07"}, {" 7", 2, "07"}, {"123", 2, "123"}, {" 12", 2, " 12"}, {"\t5", 3, "005"}, {"", 2, "00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zeros_esquerda(c.text, c.width), QString(c.expected)) << c.text;
}

TEST(MsParaHora, SplitsMillisecondsIntoATimeOfDay)
{
    const struct {
        int32_t ms;
        QTime expected;
    } cases[] = {
        {0, QTime(0, 0)},           {-5, QTime(0, 0)},           {999, QTime(0, 0)},
        {61000, QTime(0, 1, 1)},    {3725000, QTime(1, 2, 5)},   {86399999, QTime(23, 59, 59)},
    };
    timefmt::setProcessTimeFormat("HH:mm:ss", ':');
    for (const auto& c : cases)
        EXPECT_EQ(ms_para_hora(c.ms), std::optional<QTime>(c.expected)) << c.ms;
    // A day or more is no time of day: the callers keep their displays.
    EXPECT_FALSE(ms_para_hora(86400000).has_value());
}

TEST(TextoTempo, ShowsMinutesAndSecondsWithHoursDropped)
{
    UserFormat format("HH:mm:ss");
    EXPECT_EQ(texto_tempo(3725000), std::optional<QString>("02:05"));
    EXPECT_EQ(texto_tempo(75 * 60000), std::optional<QString>("15:00"));
    EXPECT_EQ(texto_tempo(0), std::optional<QString>("00:00"));
    EXPECT_FALSE(texto_tempo(86400000).has_value());
    EXPECT_FALSE(texto_tempo(int64_t(1) << 40).has_value());
}

TEST(BuscaValor, TakesTheFirstLineHoldingTheNameAndEquals)
{
    const QStringList settings{"AUTOMIXAR=1", "FADE=6000"};
    EXPECT_EQ(busca_valor(settings, "FADE", "x"), "6000");
    EXPECT_EQ(busca_valor({"AUTOMIXAR=1"}, "FADE", "4000"), "4000");
    EXPECT_EQ(busca_valor({"FADE="}, "FADE", "4000"), "");
    // The name is searched anywhere in the line, so XFADE answers for FADE.
    EXPECT_EQ(busca_valor({"XFADE=5", "FADE=6000"}, "FADE", "4000"), "5");
    EXPECT_EQ(busca_valor({"fade=1"}, "FADE", "d"), "d");
    EXPECT_EQ(busca_valor({"A=" + QString(300, 'x')}, "A", "").size(), 255);
    EXPECT_EQ(busca_valor({"A=b=c"}, "A", ""), "b=c");
}

TEST(ListaArquivos, AddsSortedUpperCasedNamesOfTheFormatsPlayed)
{
    QTemporaryDir dir;
    for (const char* name : {"a.mp3", "B.WAV", "c.ogg", "d.Mp3", "e.wma", "f.flac", "g.txt", ".hidden.mp3"}) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
    }
    QDir(dir.path()).mkdir("folder.mp3");
    QStringList list{"Z.MP3"};
    lista_arquivos(dir.path() + "/", "*.*", list);
    EXPECT_EQ(list, (QStringList{"A.MP3", "B.WAV", "C.OGG", "D.MP3", "E.WMA", "Z.MP3"}));

    QStringList none;
    lista_arquivos(dir.filePath("missing") + "/", "*.*", none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Boxes, MensagemBeepsAndConfirmaAnswersTheOperatorsChoice)
{
    test::RecordingDialogs recorded;
    setDialogs(&recorded);
    mensagem("olá");
    recorded.confirmAnswers = {true, false};
    EXPECT_TRUE(confirma("um"));
    EXPECT_FALSE(confirma("dois"));
    setDialogs(nullptr);

    EXPECT_EQ(recorded.beeps, 3);
    ASSERT_EQ(recorded.shown.size(), 3);
    EXPECT_EQ(recorded.shown[0].kind, "message");
    EXPECT_EQ(recorded.shown[1].caption, "Zulo Sistemas");
    EXPECT_EQ(recorded.shown[2].kind, "confirm");
}

TEST(VerificaHora, OffersTheFixOnlyWhenMidnightDoesNotReadBack)
{
    const QString question = "O Formato de HORA Padrão do Windows está em modo incompatível com o VOLTARIA\r\r"
                             "DESEJA QUE O SOFTWARE ACERTE O FORMATO PADRÃO PARA HH:mm:ss ??";
    const struct {
        const char* userFormat;
        bool answer;
        bool asked;
        const char* formatAfter;
    } cases[] = {
        {"HH:mm:ss", true, false, "HH:mm:ss"},
        {"H:mm:ss", true, true, "HH:mm:ss"},
        {"H:mm:ss", false, true, "H:mm:ss"},
        {"h:mm:ss AP", true, true, "HH:mm:ss"},
    };
    for (const auto& c : cases) {
        UserFormat format(c.userFormat);
        test::RecordingDialogs recorded;
        recorded.confirmAnswers = {c.answer};
        setDialogs(&recorded);
        verifica_hora();
        setDialogs(nullptr);
        EXPECT_EQ(recorded.texts(), c.asked ? QStringList{question} : QStringList{}) << c.userFormat;
        EXPECT_EQ(timefmt::longTimeFormat(), QString(c.formatAfter)) << c.userFormat;
    }
}

// Before the main window sets its own time format the check reads "00:00:00" with the user's
// locale's separator. Catches a separator fixed to ":" beforehand, which made "Formato de Hora
// Inválido:" impossible.
TEST(VerificaHora, ReadsMidnightWithTheLocalesOwnSeparator)
{
    const QString question = "O Formato de HORA Padrão do Windows está em modo incompatível com o VOLTARIA\r\r"
                             "DESEJA QUE O SOFTWARE ACERTE O FORMATO PADRÃO PARA HH:mm:ss ??";
    const struct {
        const char* locale; // its long and short time formats
        QStringList shown;
    } cases[] = {
        {"pt_BR", {}},                                           // HH:mm:ss, HH:mm
        {"en_US", {question}},                                   // h:mm:ss AP, h:mm AP
        {"fi_FI", {"Formato de Hora Inválido:H.mm", question}},  // H.mm.ss, H.mm
        {"da_DK", {"Formato de Hora Inválido:HH.mm", question}}, // HH.mm.ss, HH.mm
    };
    QTemporaryDir dir;
    timefmt::setStorePath(dir.filePath("locale.ini"));
    timefmt::setProcessTimeFormat(QString(), QChar());
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(c.locale));
        timefmt::setStorePath(dir.filePath("locale.ini")); // forgets the format read before
        test::RecordingDialogs recorded;
        recorded.confirmAnswers = {false};
        setDialogs(&recorded);
        verifica_hora();
        setDialogs(nullptr);
        EXPECT_EQ(recorded.texts(), c.shown) << c.locale;
    }
    QLocale::setDefault(QLocale::system());
    timefmt::setStorePath(QString());
}

TEST(JuntaParametros, JoinsEveryArgumentAfterOneBlank)
{
    EXPECT_EQ(startup::junta_parametros({}), "");
    // A path with a blank passed without quotes arrives as two arguments.
    EXPECT_EQ(startup::junta_parametros({"/música/meu", "som.mp3"}), " /música/meu som.mp3");
    EXPECT_EQ(startup::junta_parametros({"/música/meu som.mp3"}), " /música/meu som.mp3");
}
