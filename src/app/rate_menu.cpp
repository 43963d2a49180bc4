#include "app/rate_menu.h"

#include "audio/audio_engine.h"

void updateRateMenu(HMENU menu, int id, AudioEngine* engine)
{
    int32_t rate = rateOfCommand(id);
    if (rate == 0)
        return;
    for (int c = IDM_RATE_MINUS_3; c <= IDM_RATE_PLUS_3; ++c)
        CheckMenuItem(menu, static_cast<UINT>(c), MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
    // Choosing the rate already in use still re-opens the channels.
    if (engine)
        engine->changeSampleRate(rate);
}
