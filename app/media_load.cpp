#include "app/media_load.h"

#include "app/dialogs.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"

bool carrega_midia(TCorvoBass& channel, const QString& path)
{
    channel.LoadFile(path);
    audio::StreamInfo loaded;
    if (audio::streamInfo(channel.Stream, loaded))
        return true;
    if (channel.Stream == 0)
        dialogs().message(loadErrorMessage);
    return false;
}
