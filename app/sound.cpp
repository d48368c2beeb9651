#include "app/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "app/app_state.h"

namespace vantorel {

void playSound(int resourceId, const char* path) {
    if (std::strcmp(path, kNoFileSelected) == 0) {
        PlaySoundA(MAKEINTRESOURCEA(resourceId), app().module, SND_RESOURCE | SND_ASYNC);
    } else {
        // No SND_FILENAME: a system sound name is looked up first, and a name
        // that plays nothing gives the default sound.
        PlaySoundA(path, nullptr, SND_ASYNC);
    }
}

}  // namespace vantorel
