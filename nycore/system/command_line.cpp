// The command line: splitting a command-line text into arguments, and the
// arguments of this process. On Linux the process receives its arguments
// already split, so getArguments takes them as they are from the kernel.
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "nycore/system/runtime.h"
#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"

namespace NyCore::System {

namespace {

// Visits each argument of a command-line text as (start, length).
template <typename Visit>
void forEachArgument(char16_t const* text, int length, Visit visit)
{
    int i = 0;
    while (i < length) {
        if (char_is_space(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == u'"') {
            int start = ++i;
            while (i < length && text[i] != u'"')
                ++i;
            visit(start, i - start);
            if (i < length)
                ++i;
        } else {
            int start = i;
            while (i < length && !char_is_space(text[i]))
                ++i;
            visit(start, i - start);
        }
    }
}

std::string readProcessCommandLine()
{
    std::string bytes;
    int fd = ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return bytes;
}

}

int Runtime::countArguments(char16_t const* text, int length)
{
    int count = 0;
    forEachArgument(text, length, [&](int, int) { ++count; });
    return count;
}

Collections::Array<String*>* Runtime::splitArguments(char16_t const* text, int length)
{
    auto* arguments = Collections::Array<String*>::alloc(countArguments(text, length));
    int index = 0;
    forEachArgument(text, length, [&](int start, int n) { arguments->items()[index++] = String::create(text, start, n); });
    return arguments;
}

Collections::Array<String*>* Runtime::getArguments()
{
    std::string bytes = readProcessCommandLine();
    int count = 0;
    for (char c : bytes)
        count += c == '\0';
    auto* arguments = Collections::Array<String*>::alloc(count);
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        std::size_t end = bytes.find('\0', start);
        arguments->items()[i] = string_from_utf8(bytes.data() + start, static_cast<int>(end - start));
        start = end + 1;
    }
    return arguments;
}

}
