#include "app/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "app/app_state.h"
#include "app/on_demand.h"

namespace vantorel {

void playSound(int resourceId, const char* path) {
    if (std::strcmp(path, kNoFileSelected) == 0) {
        on_demand::PlaySoundA(MAKEINTRESOURCEA(resourceId), app().module, SND_RESOURCE | SND_ASYNC);
    } else {
        // No SND_FILENAME: a system sound name is looked up first, and a name
        // that plays nothing gives the default sound.
        on_demand::PlaySoundA(path, nullptr, SND_ASYNC);
    }
}

}  // namespace vantorel
