// What sounds\Setting.csv must hold during a soak: the header it starts with
// and one line per binding, changed only by the stores and deletes that went
// through the program's own dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SettingsRows {
public:
    // The rows of a settings file's text, after its two header lines.
    explicit SettingsRows(const std::string& fileText);

    std::string text() const;
    size_t count() const { return rows_.size(); }
    const std::string& row(size_t i) const { return rows_[i]; }
    // The program's store: over the first row with the line's key, else after the last.
    void store(const std::string& line);
    // The program's delete: the rows after it move up.
    void erase(size_t i);

    struct Difference {
        int lost = 0;        // lines that should be there and are not, or not as written
        int unexpected = 0;  // lines that nothing wrote
    };
    Difference compare(const std::string& fileText) const;

private:
    std::string header_;
    std::vector<std::string> rows_;
};

// The key code of a settings line (its second field, in hex).
uint8_t RowKey(const std::string& line);
