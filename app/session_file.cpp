#include "app/session_file.h"

#include "base/textfile.h"

namespace session {

namespace {

const QString kMarker = QStringLiteral("SESSAO=VOLTARIA");
const QString kEnd = QStringLiteral("FIM");

QString deckLetter(int deck) { return deck == 0 ? QStringLiteral("A") : QStringLiteral("B"); }

// Reads the file's lines in the order encode wrote them; any line out of place fails it.
class Reader
{
public:
    explicit Reader(const QStringList& lines) : lines_(lines) {}

    bool value(const QString& key, QString& value)
    {
        if (next_ >= lines_.size() || !lines_[next_].startsWith(key + u'='))
            return false;
        value = lines_[next_++].mid(key.size() + 1);
        return true;
    }

    bool number(const QString& key, int64_t& number)
    {
        QString text;
        bool ok = false;
        if (value(key, text))
            number = text.toLongLong(&ok);
        return ok;
    }

    bool line(QString& text)
    {
        if (next_ >= lines_.size())
            return false;
        text = lines_[next_++];
        return true;
    }

    bool atLine(const QString& text) { return next_ < lines_.size() && lines_[next_++] == text; }
    bool atEnd() const { return next_ == lines_.size(); }

private:
    const QStringList& lines_;
    qsizetype next_ = 0;
};

bool readPlaylist(Reader& in, int deck, DeckState& d)
{
    int64_t count = 0;
    if (!in.number("LISTA_" + deckLetter(deck), count) || count < 0)
        return false;
    for (int64_t i = 0; i < count; ++i) {
        QString name, path;
        if (!in.line(name) || !in.line(path))
            return false;
        d.names << name;
        d.paths << path;
    }
    return true;
}

} // namespace

QByteArray encodePlaylist(int deck, const QStringList& names, const QStringList& paths)
{
    QStringList lines;
    const qsizetype count = std::min(names.size(), paths.size());
    lines.reserve(1 + 2 * count);
    lines << "LISTA_" + deckLetter(deck) + u'=' + QString::number(count);
    for (qsizetype i = 0; i < count; ++i)
        lines << names[i] << paths[i];
    return textfile::encodeLines(lines);
}

QByteArray encode(const State& state, const QByteArray& playlistA, const QByteArray& playlistB)
{
    QStringList lines{kMarker, QStringLiteral("EXECUTANDO=%1").arg(int(state.running)),
                      QStringLiteral("AUTOMIXAR=%1").arg(int(state.autoMix)),
                      QStringLiteral("ATIVA_SENSOR=%1").arg(int(state.sensor))};
    for (int deck = 0; deck < 2; ++deck) {
        const DeckState& d = state.decks[size_t(deck)];
        const QString letter = deckLetter(deck);
        lines << "SELECIONADA_" + letter + u'=' + QString::number(d.selected);
        lines << "TOCANDO_" + letter + u'=' + d.playing;
        lines << "POSICAO_" + letter + u'=' + QString::number(d.positionMs);
    }
    return textfile::encodeLines(lines) + playlistA + playlistB + textfile::encodeLines({kEnd});
}

std::optional<State> decode(const QStringList& lines)
{
    Reader in(lines);
    State s;
    int64_t running = 0, autoMix = 0, sensor = 0;
    if (!in.atLine(kMarker) || !in.number("EXECUTANDO", running) || !in.number("AUTOMIXAR", autoMix) ||
        !in.number("ATIVA_SENSOR", sensor))
        return std::nullopt;
    s.running = running == 1;
    s.autoMix = autoMix == 1;
    s.sensor = sensor == 1;
    std::array<int64_t, 2> selected{};
    for (int deck = 0; deck < 2; ++deck) {
        DeckState& d = s.decks[size_t(deck)];
        const QString letter = deckLetter(deck);
        if (!in.number("SELECIONADA_" + letter, selected[size_t(deck)]) || !in.value("TOCANDO_" + letter, d.playing) ||
            !in.number("POSICAO_" + letter, d.positionMs) || d.positionMs < 0)
            return std::nullopt;
    }
    for (int deck = 0; deck < 2; ++deck)
        if (!readPlaylist(in, deck, s.decks[size_t(deck)]))
            return std::nullopt;
    if (!in.atLine(kEnd) || !in.atEnd())
        return std::nullopt;
    for (int deck = 0; deck < 2; ++deck) {
        DeckState& d = s.decks[size_t(deck)];
        const int64_t row = selected[size_t(deck)];
        d.selected = row >= 0 && row < d.paths.size() ? int(row) : -1;
    }
    return s;
}

} // namespace session
