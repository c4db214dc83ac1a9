// Connects the deck playlists' controls to their handlers.
#include "app/UMIXER.h"

void Tform_mixer::connectPlaylistHandlers() {}
