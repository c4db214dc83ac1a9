// Deck transport: load, play, stop, fade and the channels' stop handlers.
#include "app/UMIXER.h"

void Tform_mixer::Canal_aStop(QObject*) {}
void Tform_mixer::Canal_bStop(QObject*) {}
