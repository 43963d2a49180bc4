#include "slots/settings_messages.h"

#include <cstdio>

const char kMsgSettingsUnreadable[] = "設定ファイルが読み込めません";
const char kMsgSettingsUnwritable[] = "出力設定ファイルが開けません";
const char kMsgSampleUnreadable[] = "%d行目のファイル名が読み込めません";
const char kMsgSampleTooLarge[] = "%d行目 4MB以上のファイルは読み込めません";
const char kMsgSampleNotLocal[] = "%d行目のファイル名はネットワークやデバイスではなく、このパソコンのファイルにしてください";
const char kMsgChangedOutside[] =
    "設定ファイルが他のプログラムで変更されています。\n変更後の内容を読み込んでから保存します。";

namespace {

const char* rowFormat(RowProblem problem)
{
    switch (problem) {
    case RowProblem::BadPartName: return "%d行目のドラム名が不正です";
    case RowProblem::VolumeRange: return "%d行目の音量は1から255で指定してください";
    case RowProblem::PanRange: return "%d行目のパンは1から255で指定してください";
    case RowProblem::LineTooLong: return "%d行目が長すぎます(254バイトまで)";
    case RowProblem::TooFewFields: return "%d行目の項目が足りません";
    case RowProblem::BadKey: return "%d行目のキーが不正です";
    case RowProblem::PartNameTooLong: return "%d行目のドラム名が長すぎます";
    case RowProblem::ControlByte: return "%d行目に不正な文字があります";
    case RowProblem::TooManyRows: return "%d行目以降は読み込めません(60行まで)";
    case RowProblem::TooManyFields: return "%d行目の項目が多すぎます";
    case RowProblem::NumberText: return "%d行目の音量とパンは数字だけで書いてください";
    case RowProblem::MasterVolume: return "%d行目の音量は0から4294967295の数で指定してください";
    }
    return "%d";
}

}  // namespace

std::string lineMessage(const char* format, int line)
{
    char text[128];
    std::snprintf(text, sizeof text, format, line);
    return text;
}

std::string rowMessage(const RowReport& report)
{
    return lineMessage(rowFormat(report.problem), report.line);
}
