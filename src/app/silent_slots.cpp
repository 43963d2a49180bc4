#include "app/silent_slots.h"

#include <cstdio>
#include <string>

#include "audio/device_error.h"
#include "slots/key_names.h"
#include "ui/sample_refusal.h"
#include "util/message_boxes.h"
#include "util/quit_request.h"

namespace {

// A box taller than the screen would hide its OK button.
constexpr int kMostListed = 12;

void tellOutputLost()
{
    ShowError("音声出力が使えなくなりました。\nサウンドデバイスを確かめてください。キーを押すと開き直します。");
}

}  // namespace

void prepareDeviceErrorBoxes()
{
    prepareDeviceErrorReports({ShowDeviceError, tellOutputLost});
}

void reportRefusedRate(uint32_t rate)
{
    char text[128];
    std::snprintf(text, sizeof text, "音声出力を%dHzで開けません。\n設定ファイルの1行目を確かめてください。",
                  static_cast<int>(rate));
    ShowError(text);
}

void reportSilentEngine(const AudioEngine& engine)
{
    for (int i = 0; i < kOutputChannels; ++i)
        if (engine.channel(i).handle)
            return;
    if (!isDeviceGone(engine.openError()))
        return reportRefusedRate(engine.sampleRate());
    ShowError("音声出力を開けません。\nサウンドデバイスを確かめてください。キーを押すと開き直します。");
}

bool reportSilentSlots(const SampleSet& samples, uint64_t rows)
{
    if (QuitRequested())
        return false;
    std::string list;
    int silent = 0;
    for (int i = 0; i < slotCount && i < kSlotTableSize; ++i) {
        const SoundSlot& slot = soundSlots[i];
        if (slot.slotIndex < 0 || slot.slotIndex >= kSlotTableSize || !(rows >> slot.slotIndex & 1))
            continue;
        WavProblem problem = samples.problem(slot.slotIndex);
        if (problem == WavProblem::None || ++silent > kMostListed)
            continue;
        const char* key = keyNameText(slot.keyCode);
        list += std::string(key ? key : "?") + "  " + slot.path + "\n    " + sampleRefusalText(problem) + "\n";
    }
    if (silent == 0)
        return false;
    if (silent > kMostListed)
        list += "ほか" + std::to_string(silent - kMostListed) + "件\n";
    ShowError(("次のスロットは音が出ません。\n\n" + list).c_str());
    return true;
}
