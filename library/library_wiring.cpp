// Connects the library's controls to their handlers.
#include "app/UMIXER.h"

void Tform_mixer::connectLibraryHandlers() {}
void Tform_mixer::Canal_00Stop(QObject*) {}
