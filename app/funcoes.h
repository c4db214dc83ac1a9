// Small routines shared by the decks, the library, the playlists and the settings.
// Main thread only; none keeps state of its own.
#pragma once
#include <QString>
#include <QStringList>
#include <QTime>
#include <cstdint>
#include <optional>

// The text, without its leading blanks and control characters, padded with zeros on the
// left to the width; returned unchanged (blanks included) when it is already that long.
QString zeros_esquerda(const QString& text, int width);

// Beep, then a plain message box.
void mensagem(const QString& text);
// The caption of the program's OK/Cancel questions.
inline constexpr char confirmaCaption[] = "Zulo Sistemas";
// Beep, then OK/Cancel captioned confirmaCaption; true on OK.
bool confirma(const QString& text);

// Adds the upper-cased names of the MP3, WAV, OGG and WMA files of a folder (which ends with "/") that
// match the mask to the list, then sorts the list case-insensitively.
void lista_arquivos(const QString& folder, const QString& mask, QStringList& list);

// Milliseconds as a time of day (hours, minutes, seconds; milliseconds dropped). Nothing for
// 24 hours or more, which is no time of day.
std::optional<QTime> ms_para_hora(int32_t ms);

// The text after the first "=" of the first line that holds name + "=", at most 255
// characters; the default when no line does.
QString busca_valor(const QStringList& lines, const QString& name, const QString& fallback);

// A deck's "mm:ss": the time formatted with the user's long time format, five characters from
// the fourth. Nothing when the milliseconds are no time of day; the caller keeps its display.
std::optional<QString> texto_tempo(int64_t ms);

// The first-start check that the user's long time format is "HH:mm:ss", offering to set it.
void verifica_hora();
