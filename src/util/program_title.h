// The program's name, as its windows and boxes show it.
#pragma once

constexpr char kProgramTitle[] = "ポコポン";
