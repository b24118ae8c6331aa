// FileFilters: the filter strings of the file dialogs ("Vexadrome Graph\t*.graph\tgraph":
// a description, patterns separated by ";", and for saving a default
// extension) read into the list the chooser offers, the name matching, and
// the default extension added to a saved name that has none.
#pragma once

#include <string>
#include <vector>

#include "nycore/text/string.h"

namespace NyUser::CommonDialogs {

class FileFilters {
public:
    struct Filter {
        // The index of the entry in the caller's list.
        int source;
        std::u16string description;
        std::vector<std::string> patterns;
        std::u16string defaultExtension;
    };

    // The room the filter list of the file dialogs has, in 8-bit units,
    // including the zero after each field and the one that ends the list.
    static constexpr int ListCapacity = 2048;

    // `filters` ends with a null entry; null is an empty list. An entry that
    // does not fit in what is left of ListCapacity is left out.
    explicit FileFilters(NyCore::String const* const* filters);

    int count() const { return static_cast<int>(entries.size()); }
    Filter const& at(int index) const { return entries[static_cast<std::size_t>(index)]; }
    // The offered filter of the caller's index, 0 when it is not offered.
    int offeredIndex(int source) const;
    // Whether a file name (UTF-8, no folder) matches one of the filter's
    // patterns, in either case; with no filters every name matches.
    bool matches(int index, std::string const& name) const;

    // The name with a dot and the extension appended when no dot follows its
    // last '/' or '\' (a new String); a copy when it has one or the extension
    // is empty.
    static NyCore::String* withDefaultExtension(NyCore::String const* name, std::u16string const& extension);
    // The default extension of one filter string (its third field), empty when it has none.
    static std::u16string extensionOf(NyCore::String const* filter);

private:
    std::vector<Filter> entries;
};

}
