#include "slots/settings_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "slots/part_names.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

bool onlyBlanks(std::string_view s) { return skipBlanks(s) == s.size(); }

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a row on commas the way the file has always been read: separators at
// the start are skipped and a run of them counts as one, so there are no
// empty fields.
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : rest_(line) {}

    bool next(std::string_view* field)
    {
        size_t start = 0;
        while (start < rest_.size() && isSeparator(rest_[start]))
            ++start;
        if (start == rest_.size())
            return false;
        size_t end = start;
        while (end < rest_.size() && !isSeparator(rest_[end]))
            ++end;
        *field = rest_.substr(start, end - start);
        rest_ = rest_.substr(end);
        return true;
    }

private:
    static bool isSeparator(char c) { return c == ',' || c == '\r'; }
    std::string_view rest_;
};

// Lines end with CR LF, LF or CR alone; no CR reaches a field.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool next(std::string_view* line)
    {
        if (pos_ == text_.size())
            return false;
        size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        *line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_++] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        return true;
    }

    // The text from the start of the line last read to the end.
    std::string_view fromLastLine(const std::string_view& line) const
    {
        return text_.substr(static_cast<size_t>(line.data() - text_.data()));
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

void copyField(char* out, std::string_view field)
{
    std::memcpy(out, field.data(), field.size());
    out[field.size()] = '\0';
}

int32_t clampLevel(int32_t v) { return v < 1 ? 1 : v > 255 ? 255 : v; }

// One row without its line end.
std::string formatRow(const SoundSlot& s)
{
    char line[kSlotPathSize + kPartNameSize + 64];
    std::snprintf(line, sizeof line, "%.255s,%x,%d,%d,%.31s", s.path, static_cast<unsigned>(s.keyCode),
                  static_cast<int>(s.volume), static_cast<int>(s.pan), s.partName);
    return line;
}

}  // namespace

uint32_t parseUnsignedSaturating(std::string_view field, bool* whole)
{
    uint64_t value = 0;
    size_t i = skipBlanks(field), start = i;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(field[i] - '0');
        if (value > 0xFFFFFFFFu)
            value = UINT64_C(0x100000000);  // keeps saturating without overflowing
    }
    if (whole)
        *whole = i > start && value <= 0xFFFFFFFFu && onlyBlanks(field.substr(i));
    return static_cast<uint32_t>(value > 0xFFFFFFFFu ? 0xFFFFFFFFu : value);
}

int32_t parseSignedClamped(std::string_view field, bool* whole)
{
    size_t i = skipBlanks(field);
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    int64_t value = 0;
    size_t start = i;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (field[i] - '0'), INT64_C(1) << 32);
    if (whole)
        *whole = i > start && onlyBlanks(field.substr(i));
    return static_cast<int32_t>(std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
}

uint8_t parseKeyCode(std::string_view field, bool* whole)
{
    size_t i = skipBlanks(field);
    if (i + 1 < field.size() && field[i] == '0' && (field[i + 1] == 'x' || field[i + 1] == 'X')
        && i + 2 < field.size() && hexDigit(field[i + 2]) >= 0)
        i += 2;
    // Only the low 8 bits of the number are kept; high tells a larger one.
    unsigned value = 0;
    bool high = false;
    size_t start = i;
    for (; i < field.size() && hexDigit(field[i]) >= 0; ++i) {
        high = high || (value & 0xF0u) != 0;
        value = (value << 4 | static_cast<unsigned>(hexDigit(field[i]))) & 0xFFu;
    }
    if (whole)
        *whole = i > start && !high && onlyBlanks(field.substr(i));
    return static_cast<uint8_t>(value);
}

namespace {

// The five fields of a row that the table can take.
struct RowFields {
    std::string_view path, key, volume, pan, name;
    uint8_t keyCode;
};

// Why a row cannot be taken into the table, or nullopt; fills fields when it can.
std::optional<RowProblem> checkRow(std::string_view line, std::string_view path, FieldReader& reader,
                                   RowFields* fields)
{
    if (line.size() > kMaxLineLength)
        return RowProblem::LineTooLong;
    if (line.find('\0') != std::string_view::npos)
        return RowProblem::ControlByte;
    std::string_view extra;
    fields->path = path;
    if (!reader.next(&fields->key) || !reader.next(&fields->volume) || !reader.next(&fields->pan)
        || !reader.next(&fields->name))
        return RowProblem::TooFewFields;
    if (reader.next(&extra))
        return RowProblem::TooManyFields;
    bool keyWhole = false;
    fields->keyCode = parseKeyCode(fields->key, &keyWhole);
    // Code 0 marks an empty entry: such a row would vanish from the file. A
    // key above ff or with text after it would become another.
    if (fields->keyCode == 0 || !keyWhole)
        return RowProblem::BadKey;
    if (fields->name.size() >= kPartNameSize)
        return RowProblem::PartNameTooLong;
    return std::nullopt;
}

// Entry r from a row that passed checkRow, with what it tells of the row.
void fillSlot(const RowFields& fields, int r, int lineNo, SoundSlot& slot, SettingsRead& read)
{
    auto tell = [&](RowProblem problem, bool keepFile) {
        read.reports.push_back({problem, lineNo});
        read.keepFile = read.keepFile || keepFile;
    };
    copyField(slot.path, fields.path);  // shorter than a line, so it fits
    slot.keyCode = fields.keyCode;
    bool volumeWhole = false, panWhole = false;
    slot.volume = parseSignedClamped(fields.volume, &volumeWhole);
    slot.pan = parseSignedClamped(fields.pan, &panWhole);
    // Kept at the number read, told, and left in the file as written.
    if (!volumeWhole || !panWhole)
        tell(RowProblem::NumberText, true);
    slot.slotIndex = r;
    copyField(slot.partName, fields.name);
    int part = findDrumPart(slot.partName);
    if (part < 0)
        tell(RowProblem::BadPartName, false);
    slot.partId = part < 0 ? 0 : part;
    // Clamped for the gain tables; the file keeps the user's value.
    if (clampLevel(slot.volume) != slot.volume) {
        tell(RowProblem::VolumeRange, true);
        slot.volume = clampLevel(slot.volume);
    }
    if (clampLevel(slot.pan) != slot.pan) {
        tell(RowProblem::PanRange, true);
        slot.pan = clampLevel(slot.pan);
    }
    read.lineOf[r] = lineNo;
}

}  // namespace

SettingsRead parseSettings(std::string_view text, SoundSlot* table)
{
    SettingsRead read;
    std::memset(table, 0, sizeof(SoundSlot) * kSlotTableSize);

    // A byte-order mark that an editor put before the first number.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    LineReader lines(text);
    std::string_view line;
    if (lines.next(&line))
        read.sampleRate = parseUnsignedSaturating(line);
    if (lines.next(&line)) {
        // Read leniently the volume could mute every channel (a negative or
        // hexadecimal number reads as 0): anything but a whole number in range
        // is told and left in the file.
        std::string_view field;
        bool whole = false;
        uint32_t volume = FieldReader(line).next(&field) ? parseUnsignedSaturating(field, &whole) : 0;
        if (whole) {
            read.masterVolume = volume;
        } else {
            read.reports.push_back({RowProblem::MasterVolume, 1});
            read.keepFile = true;
        }
    }

    int r = 0;
    for (int lineNo = 2; lines.next(&line); ++lineNo) {
        FieldReader reader(line);
        std::string_view path;
        if (!reader.next(&path) || path.size() < 2) {
            // A blank or one-byte row ends the table; the rest is kept unread.
            read.unreadTail = lines.fromLastLine(line);
            break;
        }
        RowFields fields;
        std::optional<RowProblem> problem =
            r == kSlotTableSize ? RowProblem::TooManyRows : checkRow(line, path, reader, &fields);
        if (problem) {
            // Left out of the table, and so kept in the file as it is.
            read.reports.push_back({*problem, lineNo});
            read.keepFile = true;
            if (*problem == RowProblem::TooManyRows)
                break;
            continue;
        }
        fillSlot(fields, r, lineNo, table[r], read);
        ++r;
    }
    read.slotCount = r;
    return read;
}

std::string formatSettings(const SoundSlot* table, uint32_t rate, uint32_t volume,
                           std::string_view tail)
{
    std::string out = std::to_string(rate) + "\r\n" + std::to_string(volume) + "\r\n";
    for (int i = 0; i < kSlotTableSize; ++i)
        if (table[i].keyCode != 0)
            out += formatRow(table[i]) + "\r\n";
    out += tail;
    return out;
}

RowFit settingsRowFit(const SoundSlot& slot)
{
    if (std::strpbrk(slot.path, ",\r\n"))
        return RowFit::PathSeparator;
    return formatRow(slot).size() > kMaxLineLength ? RowFit::TooLong : RowFit::Fits;
}
