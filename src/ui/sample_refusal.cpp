#include "ui/sample_refusal.h"

#include <cstdio>

#include "audio/engine_form.h"

std::string sampleRefusalText(WavProblem problem)
{
    char text[160];
    switch (problem) {
    case WavProblem::None: return "";
    case WavProblem::NotRiffWave:
    case WavProblem::NoFormat:
    case WavProblem::NoData:
    case WavProblem::Damaged:
        return "ファイルが壊れているか、WAVファイルではありません";
    case WavProblem::UnknownCodec: return "この圧縮形式を再生できるコーデックがありません";
    case WavProblem::NoChannels:
    case WavProblem::NoRate:
    case WavProblem::RateOutOfRange:
    case WavProblem::BadLayout:
        return "このチャンネル数、サンプリングレートまたはビット数には対応していません";
    case WavProblem::TooLong:
        std::snprintf(text, sizeof text, "変換すると%d秒を超える長さです", static_cast<int>(kSlotSeconds));
        return text;
    case WavProblem::SetTooLong:
        std::snprintf(text, sizeof text, "全スロットの長さの合計が%d分を超えます", static_cast<int>(kSetSeconds / 60));
        return text;
    case WavProblem::Empty: return "音声データがありません";
    case WavProblem::NoMemory: return "メモリが足りません";
    case WavProblem::NotLocal: return "このパソコンのファイルではありません";
    case WavProblem::Unreadable: return "ファイルが読み込めません";
    case WavProblem::FileTooLarge: return "4MB以上のファイルは読み込めません";
    }
    return "";
}
