// Loading a file into a channel that is about to play (deck, preview, clip). Main thread only.
#pragma once

#include <QString>

class TCorvoBass;

// Loads `path` into `channel` and tells whether a playable stream came of it. A file the channel
// could not open gets "Erro ao Carregar Mídia - Verifique !!"; a source it refused (8-bit) has
// had the channel's own message.
bool carrega_midia(TCorvoBass& channel, const QString& path);

// What the operator is told when a file cannot be loaded.
inline const QString loadErrorMessage = QStringLiteral("Erro ao Carregar Mídia - Verifique !!");
