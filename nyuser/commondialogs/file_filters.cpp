// Filter strings: their fields, the room they take in the dialogs' filter
// list, matching names against their patterns, and the default extension.
#include "nyuser/commondialogs/file_filters.h"

#include <fnmatch.h>

#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace NyUser::CommonDialogs {

namespace {

// The tab-separated fields of a filter string.
std::vector<std::u16string> fieldsOf(NyCore::String const* filter)
{
    std::vector<std::u16string> fields(1);
    for (int i = 0; i < filter->count; ++i) {
        char16_t unit = filter->units()[i];
        if (unit == u'\t')
            fields.emplace_back();
        else
            fields.back() += unit;
    }
    return fields;
}

std::string utf8Of(std::u16string const& text)
{
    NyCore::String* s = NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
    int length = 0;
    char* bytes = string_to_utf8(s, &length);
    std::string result(bytes, static_cast<std::size_t>(length));
    memory_free(bytes);
    string_free(s);
    return result;
}

}

FileFilters::FileFilters(NyCore::String const* const* filters)
{
    // Each entry takes its description and its patterns, each with a zero
    // after it; one more zero ends the list.
    int used = 1;
    for (int i = 0; filters && filters[i]; ++i) {
        std::vector<std::u16string> fields = fieldsOf(filters[i]);
        Filter filter;
        filter.source = i;
        filter.description = fields[0];
        std::string patterns = fields.size() > 1 ? utf8Of(fields[1]) : std::string();
        std::string description = utf8Of(fields[0]);
        int room = static_cast<int>(description.size() + 1 + patterns.size() + 1);
        if (used + room > ListCapacity)
            continue;
        used += room;
        std::size_t start = 0;
        while (start <= patterns.size()) {
            std::size_t end = patterns.find(';', start);
            if (end == std::string::npos)
                end = patterns.size();
            std::string pattern = patterns.substr(start, end - start);
            // "*.*" is every name, as the filter strings' platform reads it.
            if (pattern == "*.*")
                pattern = "*";
            if (!pattern.empty())
                filter.patterns.push_back(pattern);
            start = end + 1;
        }
        if (fields.size() > 2)
            filter.defaultExtension = fields[2];
        entries.push_back(std::move(filter));
    }
}

int FileFilters::offeredIndex(int source) const
{
    for (int i = 0; i < count(); ++i)
        if (entries[static_cast<std::size_t>(i)].source == source)
            return i;
    return 0;
}

bool FileFilters::matches(int index, std::string const& name) const
{
    if (index < 0 || index >= count() || at(index).patterns.empty())
        return true;
    for (std::string const& pattern : at(index).patterns)
        if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
            return true;
    return false;
}

std::u16string FileFilters::extensionOf(NyCore::String const* filter)
{
    if (!filter)
        return {};
    std::vector<std::u16string> fields = fieldsOf(filter);
    return fields.size() > 2 ? fields[2] : std::u16string();
}

NyCore::String* FileFilters::withDefaultExtension(NyCore::String const* name, std::u16string const& extension)
{
    // Only the file part counts: a dot in a folder's name is no extension.
    bool hasDot = false;
    for (int i = name->count - 1; i >= 0 && !filename_is_separator(name->units()[i]); --i)
        if (name->units()[i] == u'.') {
            hasDot = true;
            break;
        }
    if (hasDot || extension.empty())
        return string_copy(name);
    std::u16string longer(name->units(), static_cast<std::size_t>(name->count));
    longer += u'.';
    longer += extension;
    return NyCore::String::create(longer.data(), 0, static_cast<int>(longer.size()));
}

}
