// The standard output, error and input streams, observed from child processes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>

#include "nycore/io/file_stream.h"
#include "nycore/io/standard_streams.h"
#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;

namespace {

// Makes `bytes` the process's standard input and binds the streams afresh.
void feedStandardInput(std::string const& bytes)
{
    int ends[2];
    if (::pipe(ends) != 0 || ::write(ends[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        ::_exit(3);
    ::close(ends[1]);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    stream_standard_bind();
}

StreamWriter* out()
{
    return writer_standard_output();
}

}

TEST(StandardStreams, OutputIsUtf8AndNeverLostBeforeAFatalStop)
{
    std::u16string const wide = std::u16string(511, u'a') + u"\U0001F600\u00e9" + u'\xd800' + u"!";
    struct Case { char const* name; std::function<void()> body; std::string output; } const cases[] = {
        {"print", [] { print(u"n=%d %s\n", 5, u"\u20ac"); }, "n=5 \xe2\x82\xac\n"},
        {"a pair across the block boundary, a lone surrogate", [&] { writer_put_string(out(), TestSupport::OwnedString(wide)), writer_flush(out()); },
            std::string(511, 'a') + "\xf0\x9f\x98\x80\xc3\xa9\xef\xbf\xbd!"},
        {"buffered text before a fatal report", [] { writer_put_string(out(), u"partial "_str), error_throw(ERROR_BADINDEX); }, "partial Error.InvalidIndex\n"},
        {"shutdown flushes", [] { writer_print(out(), u"bye"); while (System::Runtime::shutdown() > 0) {} }, "bye"},
        {"console_write keeps the order", [] { writer_put_string(out(), u"1"_str), console_write(1, u"2"_str); }, "12"},
        {"failed writes are kept, also those made past the writers", [] {
             int saved = ::dup(1);
             ::dup2(::open("/dev/full", O_WRONLY), 1);
             print(u"lost");
             stream_standard_note_failure(2, EPIPE);
             ::dup2(saved, 1);
             StreamWriter* err = writer_standard_error();
             std::printf("%d %d %d %d", writer_has_failed(out()), out()->error == ENOSPC, writer_has_failed(err), err->error == EPIPE);
         }, "1 1 1 1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TestSupport::runInChild(c.body).output, c.output);
    }
    for (auto close : {+[] { fwriter_close(writer_standard_output()); }, +[] { fwriter_close(writer_standard_error()); },
                       +[] { freader_close(reader_standard_input()); }})
        TestSupport::expectFatal(close, "Error.IO.CannotCloseStandardStream: io/file_stream.cpp(");
}

TEST(StandardStreams, InputIsDecodedAcrossReads)
{
    struct Case { std::string input; std::string output; } const cases[] = {
        {std::string(511, 'x') + "\xe2\x82\xac\n\xff" "end", std::string(511, 'x') + "\xe2\x82\xac|\xef\xbf\xbd" "end|1"},
        {"ab\xe2\x82", "ab\xef\xbf\xbd||1"},
        {"", "<null>||1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 8));
        auto result = TestSupport::runInChild([&] {
            feedStandardInput(c.input);
            StreamReader* input = reader_standard_input();
            TestSupport::OwnedString first(reader_get_str(input, u"\n"_str));
            reader_get_char(input);
            TestSupport::OwnedString second(reader_get_str(input, u"\n"_str));
            reader_get_char(input);
            std::printf("%s|%s|%d", first.utf8().c_str(), second.get() ? second.utf8().c_str() : "", reader_is_eof(input) ? 1 : 0);
        });
        EXPECT_EQ(result.output, c.output);
    }
}
