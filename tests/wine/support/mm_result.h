// Multimedia results by name, so that a failed check says which code came
// back rather than a bare number.
#pragma once

#include <windows.h>

#include <string>

inline std::string mmResultName(MMRESULT result)
{
    switch (result) {
#define POKOPON_MM_NAME(code) \
    case code: return #code;
        POKOPON_MM_NAME(MMSYSERR_NOERROR)
        POKOPON_MM_NAME(MMSYSERR_ERROR)
        POKOPON_MM_NAME(MMSYSERR_BADDEVICEID)
        POKOPON_MM_NAME(MMSYSERR_NOTENABLED)
        POKOPON_MM_NAME(MMSYSERR_ALLOCATED)
        POKOPON_MM_NAME(MMSYSERR_INVALHANDLE)
        POKOPON_MM_NAME(MMSYSERR_NODRIVER)
        POKOPON_MM_NAME(MMSYSERR_NOMEM)
        POKOPON_MM_NAME(MMSYSERR_NOTSUPPORTED)
        POKOPON_MM_NAME(MMSYSERR_INVALFLAG)
        POKOPON_MM_NAME(MMSYSERR_INVALPARAM)
        POKOPON_MM_NAME(WAVERR_BADFORMAT)
        POKOPON_MM_NAME(WAVERR_STILLPLAYING)
        POKOPON_MM_NAME(WAVERR_UNPREPARED)
#undef POKOPON_MM_NAME
    }
    return "MMRESULT " + std::to_string(result);
}
