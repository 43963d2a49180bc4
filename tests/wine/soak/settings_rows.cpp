#include "soak/settings_rows.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    if (start < text.size())
        out.push_back(text.substr(start));
    return out;
}

// The lines of a that b lacks, each line counted as often as it occurs.
int missing(std::vector<std::string> a, std::vector<std::string> b)
{
    int count = 0;
    for (const std::string& line : a) {
        auto found = std::find(b.begin(), b.end(), line);
        if (found == b.end())
            ++count;
        else
            b.erase(found);
    }
    return count;
}

}  // namespace

uint8_t RowKey(const std::string& line)
{
    size_t comma = line.find(',');
    return static_cast<uint8_t>(std::strtoul(line.c_str() + comma + 1, nullptr, 16));
}

SettingsRows::SettingsRows(const std::string& fileText) : rows_(lines(fileText))
{
    size_t headerLines = std::min<size_t>(2, rows_.size());
    for (size_t i = 0; i < headerLines; ++i)
        header_ += rows_[i] + "\r\n";
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(headerLines));
}

std::string SettingsRows::text() const
{
    std::string text = header_;
    for (const std::string& row : rows_)
        text += row + "\r\n";
    return text;
}

void SettingsRows::store(const std::string& line)
{
    for (std::string& row : rows_)
        if (RowKey(row) == RowKey(line)) {
            row = line;
            return;
        }
    rows_.push_back(line);
}

void SettingsRows::erase(size_t i)
{
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
}

SettingsRows::Difference SettingsRows::compare(const std::string& fileText) const
{
    std::vector<std::string> wanted = lines(text()), found = lines(fileText);
    return {missing(wanted, found), missing(found, wanted)};
}
