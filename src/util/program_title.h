// The program's name, as its windows and boxes show it.
#pragma once

constexpr char kProgramTitle[] = "ポコポン";
// The companion that renders a performance to sound and MIDI files.
constexpr char kExporterTitle[] = "ポコポン 書き出し";
