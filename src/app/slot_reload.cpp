#include "app/slot_reload.h"

#include "app/panel_viewport.h"
#include "app/process_objects.h"
#include "app/silent_slots.h"
#include "audio/audio_engine.h"
#include "slots/settings_file.h"
#include "ui/slot_panel.h"

void showFilteredRows()
{
    if (rowFilter == -1)
        ShowAllSlotRows(nullptr);
    else
        ShowPartSlotRows(rowFilter);
}

void reloadSlots()
{
    saveSettings();
    loadSettings();
    RefreshSlotRows();
    showFilteredRows();
    // The new engine runs at the file's rate, whatever the rate menu shows,
    // and keeps the channels' volume as the platform has it.
    // Keys handled inside the teardown's platform calls find no engine.
    AudioEngine* old = audioEngine;
    audioEngine = nullptr;
    // Slots whose file and levels did not change keep their buffers, once no
    // stream of the old engine can read them any more.
    bool closed = old && old->shutDown();
    // Built without a window: the splash its progress texts were for is gone.
    auto* engine = new AudioEngine(nullptr, &sharedLock);
    engine->loadSamples(soundSlots, static_cast<int32_t>(sampleRate), slotCount, closed ? old : nullptr);
    destroyEngine(old);
    audioEngine = engine;
    reportSilentEngine(*engine);
    reportSilentSlots(engine->samples());
    ResetSlotPanelScroll();
}

void storeSlot(const SoundSlot& record)
{
    if (!rereadIfChangedOutside())
        return;
    int entry = findStoreSlot(soundSlots, record.keyCode);
    if (entry >= 0)
        soundSlots[entry] = record;
    reloadSlots();
}
