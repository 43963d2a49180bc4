#include "audio/voice_rules.h"

#include "slots/part_names.h"

VoicePlan planHit(const VoiceView (&voices)[kOutputChannels], int32_t partId, bool hasSample)
{
    VoicePlan plan = {-1, 0};
    for (int i = 0; i < kOutputChannels && hasSample; ++i)
        if (voices[i].usable && !voices[i].sounding) {
            plan.start = i;
            break;
        }
    if (partId == DR_HIHAT_CLOSE)
        for (int i = 0; i < kOutputChannels; ++i)
            if (voices[i].sounding && voices[i].part == DR_HIHAT_OPEN)
                plan.cuts |= 1u << i;
    return plan;
}
