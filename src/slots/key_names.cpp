#include "slots/key_names.h"

#include <cstring>

const KeyName keyNames[kKeyNameCount] = {
    {0x10, "Shift"}, {0x11, "Ctrl"}, {0x20, "Space"},
    {0x30, "0"}, {0x31, "1"}, {0x32, "2"}, {0x33, "3"}, {0x34, "4"},
    {0x35, "5"}, {0x36, "6"}, {0x37, "7"}, {0x38, "8"}, {0x39, "9"},
    {0xBD, "-"}, {0xDE, "^"}, {0xDC, "\\"}, {0x08, "BS"},
    {0x51, "Q"}, {0x57, "W"}, {0x45, "E"}, {0x52, "R"}, {0x54, "T"},
    {0x59, "Y"}, {0x55, "U"}, {0x49, "I"}, {0x4F, "O"}, {0x50, "P"},
    {0xC0, "@"}, {0xDB, "["}, {0xDD, "]"},
    {0xBA, ":"}, {0xBB, ";"}, {0xE2, "＼"}, {0xBF, "/"}, {0xBE, "."}, {0xBC, ","},
    {0x41, "A"}, {0x53, "S"}, {0x44, "D"}, {0x46, "F"}, {0x47, "G"},
    {0x48, "H"}, {0x4A, "J"}, {0x4B, "K"}, {0x4C, "L"},
    {0x5A, "Z"}, {0x58, "X"}, {0x43, "C"}, {0x56, "V"}, {0x42, "B"},
    {0x4E, "N"}, {0x4D, "M"},
    {0x26, "↑"}, {0x28, "↓"}, {0x25, "←"}, {0x27, "→"},
};

const char* keyNameText(uint8_t code)
{
    for (const KeyName& k : keyNames)
        if (k.code == code)
            return k.text;
    return nullptr;
}

uint8_t keyNameCode(const char* text)
{
    for (const KeyName& k : keyNames)
        if (std::strcmp(k.text, text) == 0)
            return k.code;
    return 0;
}
