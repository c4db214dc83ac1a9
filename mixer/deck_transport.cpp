// Deck transport: load, play, stop, fade and the channels' stop handlers.
#include "app/UMIXER.h"

void Tform_mixer::Canal_aStop(QObject*) {}
void Tform_mixer::Canal_bStop(QObject*) {}
void Tform_mixer::ListBox1Click() {}
void Tform_mixer::ListBox2Click() {}
void Tform_mixer::BitBtn4Click() {}
void Tform_mixer::BitBtn8Click() {}
