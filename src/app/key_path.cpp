#include "app/key_path.h"

#include "app/main_window.h"
#include "app/process_objects.h"
#include "audio/audio_engine.h"
#include "kit/drawing_queue.h"
#include "kit/kit_button.h"
#include "slots/sound_slot.h"
#include "util/scoped_guards.h"

uint8_t lastKeyDown;

namespace {

DrawingQueue drawingQueue;
bool drawing;  // the kit is being drawn further up this thread's stack

void drawStep(const DrawingStep& step)
{
    if (step.light)
        LightPart(step.partId);
    else
        ReleasePart(step.partId);
}

// Key messages already waiting for the main window or the kit, and keys the
// replay tick sends meanwhile: each sounds now and leaves its drawing. A key
// for any other window (a dialog's) ends the run: it belongs to that window's
// own loop, which may act on it before dispatching, and keys stay in order.
void soundWaitingKeys()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_NOREMOVE) &&
           (msg.hwnd == mainWindow || CLAYEREDWINDOW::InGroup(msg.hwnd)) &&
           PeekMessageA(&msg, msg.hwnd, WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Sound first, drawing after: a frame shown costs milliseconds under Wine, and
// a key that came meanwhile would wait for it. Between two steps of drawing,
// keys that came sound first. What is drawn, and in which order, stays the
// same; it only comes after the sound of every key that is already there.
void drawAfterSound(DrawingStep step)
{
    if (!drawingQueue.push(step)) {
        // As many steps as the queue holds wait: this one follows them.
        DrawingStep older;
        while (drawingQueue.pop(older))
            drawStep(older);
        drawStep(step);
    }
    if (drawing)
        return;  // the drawing loop below, further up, draws it
    drawing = true;
    soundWaitingKeys();
    DrawingStep next;
    while (drawingQueue.pop(next)) {
        drawStep(next);
        soundWaitingKeys();
    }
    drawing = false;
}

}  // namespace

void onKeyDown(uint8_t key)
{
    int slot = keyDownSlot(soundSlots, key, &lastKeyDown);
    if (slot < 0)
        return;
    {
        LockGuard hold(&sharedLock);
        if (audioEngine)
            audioEngine->trigger(soundSlots[slot]);
    }
    drawAfterSound({soundSlots[slot].partId, true});
}

void onKeyUp(uint8_t key)
{
    // The sound plays to its end; key up only matters for the drum part on
    // screen, and for the auto-repeat rule.
    int slot = keyUpSlot(soundSlots, slotCount, key, &lastKeyDown);
    if (slot >= 0)
        drawAfterSound({soundSlots[slot].partId, false});
}

void onPlaySlot(WPARAM which, LPARAM sender)
{
    // No engine while start-up was cancelled or the bindings are reloading.
    if (!audioEngine)
        return;
    if (sender >= kFirstRowControlId) {
        // A slot row names its entry; a stray index sounds nothing. Its drum
        // part lights for a moment.
        if (which >= kSlotTableSize)
            return;
        audioEngine->trigger(soundSlots[which]);
        LightPart(soundSlots[which].partId);
        Sleep(100);
        ReleasePart(soundSlots[which].partId);
        return;
    }
    int slot = findPartSlot(soundSlots, slotCount, static_cast<int32_t>(which));
    if (slot >= 0)
        audioEngine->trigger(soundSlots[slot]);
}
