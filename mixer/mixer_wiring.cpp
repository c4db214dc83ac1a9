// Connects the decks', crossfader's and mixes' controls to their handlers.
#include "app/UMIXER.h"

void Tform_mixer::connectMixerHandlers() {}
