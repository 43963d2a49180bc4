#include "util/font.h"

HFONT MakeFont(const char* face, int height, int escapement, int weight)
{
    return CreateFontA(height, 0, escapement, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       FF_MODERN | FIXED_PITCH, face);
}
