// Connects the settings, clips and cue controls to their handlers.
#include "app/UMIXER.h"

void Tform_mixer::connectConfigHandlers() {}
