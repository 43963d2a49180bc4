#include "util/resource_bitmap.h"

HBITMAP LoadResourceBitmap(int number)
{
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                           MAKEINTRESOURCEA(number & 0xFFFF), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}
