// The walk behind FileNamePart and CutToDirectory, kept free of the platform so
// that it can be tested natively with a stand-in for the code page.
#pragma once

#include <cstddef>

// Offset just after the last '\', '/' or ':' of path, or 0 when it has none.
// next steps over one character (one or two bytes); isLead tells a lead byte,
// whose character is never taken for a separator.
template <class Next, class IsLead>
size_t nameOffset(const char* path, Next next, IsLead isLead)
{
    const char* name = path;
    for (const char* p = path; *p; p = next(p)) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (!isLead(c) && (c == '\\' || c == '/' || c == ':'))
            name = p + 1;
    }
    return static_cast<size_t>(name - path);
}
